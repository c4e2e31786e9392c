#include "skin/data/skin_draw.h"

#include <QPainter>

#include <algorithm>

namespace qasp::skin {

QImage StateImage(const QImage &bitmap, int frameCount, int state, bool vertical)
{
    if (bitmap.isNull())
        return {};
    const int n = std::max(frameCount, 1);
    const int i = std::clamp(state, 1, n) - 1;
    if (vertical) {
        const int h = bitmap.height() / n;
        return bitmap.copy(0, i * h, bitmap.width(), h);
    }
    const int w = bitmap.width() / n;
    return bitmap.copy(i * w, 0, w, bitmap.height());
}

QImage WithMagentaTransparent(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFF00FF)
                row[x] = 0;
    }
    return out;
}

void DrawNineSlice(QPainter &painter, const QRect &target, const QImage &source, const SkinMargins &m,
                   bool transparent, bool tile)
{
    if (source.isNull() || target.isEmpty())
        return;
    const QImage image = transparent ? WithMagentaTransparent(source) : source;
    const int sw = image.width(), sh = image.height();
    // Margins larger than the picture or the target shrink to fit.
    const int l = std::clamp(m.Left, 0, std::min(sw, target.width()));
    const int r = std::clamp(m.Right, 0, std::min(sw - l, target.width() - l));
    const int t = std::clamp(m.Top, 0, std::min(sh, target.height()));
    const int b = std::clamp(m.Bottom, 0, std::min(sh - t, target.height() - t));
    const int sx[4] = {0, l, sw - r, sw};
    const int sy[4] = {0, t, sh - b, sh};
    const int tx[4] = {target.left(), target.left() + l, target.right() + 1 - r, target.right() + 1};
    const int ty[4] = {target.top(), target.top() + t, target.bottom() + 1 - b, target.bottom() + 1};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRect from(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
            const QRect to(tx[col], ty[row], tx[col + 1] - tx[col], ty[row + 1] - ty[row]);
            if (from.isEmpty() || to.isEmpty())
                continue;
            if (tile && row == 1 && col == 1) {
                // Tiled by hand: QPixmap would need a running GUI application.
                painter.save();
                painter.setClipRect(to, Qt::IntersectClip);
                for (int y = to.top(); y <= to.bottom(); y += from.height())
                    for (int x = to.left(); x <= to.right(); x += from.width())
                        painter.drawImage(QPoint(x, y), image, from);
                painter.restore();
            } else {
                painter.drawImage(to, image, from);
            }
        }
}

void DrawSkinElement(QPainter &painter, const TDataSkinObject &element, int state, const QRect &target)
{
    DrawNineSlice(painter, target, StateImage(element.Bitmap, element.FrameCount, state), element.Margins,
                  element.Trans != 0, element.Tile == 1);
}

void DrawSkinGlyph(QPainter &painter, const TDataSkinObject &element, int state, const QRect &target)
{
    const QImage glyph = WithMagentaTransparent(StateImage(element.Bitmap, element.FrameCount, state));
    if (glyph.isNull())
        return;
    const QPoint at(target.left() + (target.width() - glyph.width()) / 2,
                    target.top() + (target.height() - glyph.height()) / 2);
    painter.drawImage(at, glyph);
}

}  // namespace qasp::skin
