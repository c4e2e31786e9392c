#include "skin/data/skin_draw.h"

#include "skin/data/nine_part_rule.h"

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

void DrawNineSlice(QPainter &painter, const QRect &target, const QImage &source, const SkinMargins &margins,
                   bool transparent, bool tile)
{
    if (source.isNull() || target.isEmpty())
        return;
    const QImage image = transparent ? WithMagentaTransparent(source) : source;
    for (const NinePart &piece : NinePartPieces(image.size(), target, margins)) {
        if (tile && piece.centre) {
            // Tiled by hand: QPixmap would need a running GUI application.
            painter.save();
            painter.setClipRect(piece.to, Qt::IntersectClip);
            for (int y = piece.to.top(); y <= piece.to.bottom(); y += piece.from.height())
                for (int x = piece.to.left(); x <= piece.to.right(); x += piece.from.width())
                    painter.drawImage(QPoint(x, y), image, piece.from);
            painter.restore();
        } else {
            painter.drawImage(piece.to, image, piece.from);
        }
    }
}

void DrawSkinElement(QPainter &painter, const SkinElement &element, int state, const QRect &target)
{
    DrawNineSlice(painter, target, StateImage(element.Bitmap, element.FrameCount, state), element.Margins,
                  element.Trans != 0, element.Tile == 1);
}

void DrawSkinGlyph(QPainter &painter, const SkinElement &element, int state, const QRect &target)
{
    const QImage glyph = WithMagentaTransparent(StateImage(element.Bitmap, element.FrameCount, state));
    if (glyph.isNull())
        return;
    const QPoint at(target.left() + (target.width() - glyph.width()) / 2,
                    target.top() + (target.height() - glyph.height()) / 2);
    painter.drawImage(at, glyph);
}

}  // namespace qasp::skin
