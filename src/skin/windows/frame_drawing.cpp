#include "skin/windows/frame_drawing.h"

#include "skin/data/skin_draw.h"
#include "skin/data/skin_model.h"

#include <QPainter>

#include <vector>

namespace qasp::skin {
namespace {

bool Stacked(const SkinBorder &border)
{
    return border.Name == "Top" || border.Name == "Bottom";
}

}  // namespace

int BorderState(const SkinBorder &border, bool active)
{
    return active || border.FrameCount <= 1 ? 1 : 2;
}

void DrawFrameBorder(QPainter &painter, const SkinBorder &border, const QRect &target, bool active)
{
    const QImage image =
        StateImage(border.Bitmap, border.FrameCount, BorderState(border, active), Stacked(border));
    DrawNineSlice(painter, target, image, border.Margins, TilesMiddle(border));
}

QRegion OpaquePixels(const QImage &source, QPoint offset)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && (row[x] & 0xFFFFFF) == 0xFF00FF)
                ++x;
            const int start = x;
            while (x < image.width() && (row[x] & 0xFFFFFF) != 0xFF00FF)
                ++x;
            if (x > start)
                runs.emplace_back(offset.x() + start, offset.y() + y, x - start, 1);
        }
    }
    // Runs row by row, left to right, never overlapping: a banded region.
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

QRegion BuildFrameRegion(const SkinModel &model, const FrameMetrics &m, QSize window, int frameKind)
{
    const FrameRects r = LayOutFrame(window, m);
    if (frameKind == kNoCaption)
        return {r.Inner};
    if (!model.Left.Trans && !model.Right.Trans && !model.Top.Trans)
        return {QRect(QPoint(0, 0), window)};
    QRegion region(r.Inner);
    const auto add = [&region](const SkinBorder &border, const QRect &rect, int minExtent, int extent) {
        if (rect.isEmpty())
            return;
        if (border.Trans != 1 || extent <= minExtent) {
            region += rect;
            return;
        }
        QImage image(rect.size(), QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        {
            QPainter p(&image);
            DrawFrameBorder(p, border, QRect(QPoint(0, 0), rect.size()), true);
        }
        region += OpaquePixels(image, rect.topLeft());
    };
    add(model.Left, r.Left, 1, m.BorderLeft);
    add(model.Right, r.Right, 1, m.BorderRight);
    add(model.Top, r.Top, 1, m.CaptionHeight);
    add(model.Bottom, r.Bottom, 2, m.BorderBottom);
    if (m.MenuBarHeight > 0)
        region += r.MenuBar;
    return region;
}

}  // namespace qasp::skin
