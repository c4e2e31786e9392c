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

void MakeMagentaTransparent(QImage &image)
{
    if (image.isNull())
        return;
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] == 0xFFFF00FF)
                row[x] = 0;
    }
}

bool TilesMiddle(const SkinElement &element)
{
    return element.Tile == 1;
}

void DrawNineSlice(QPainter &painter, const QRect &target, const QImage &image, const SkinMargins &margins,
                   bool tile)
{
    if (image.isNull() || target.isEmpty())
        return;
    for (const NinePart &piece : NinePartPieces(image.size(), target, margins)) {
        if (!tile || piece.to.size() == piece.from.size()) {
            painter.drawImage(piece.to, image, piece.from);
            continue;
        }
        // Edges repeat along their length, the centre both ways; tiled by
        // hand since QPixmap would need a running GUI application.
        painter.save();
        painter.setClipRect(piece.to, Qt::IntersectClip);
        for (int y = piece.to.top(); y <= piece.to.bottom(); y += piece.from.height())
            for (int x = piece.to.left(); x <= piece.to.right(); x += piece.from.width())
                painter.drawImage(QPoint(x, y), image, piece.from);
        painter.restore();
    }
}

void DrawSkinElement(QPainter &painter, const SkinElement &element, int state, const QRect &target)
{
    DrawNineSlice(painter, target, StateImage(element.Bitmap, element.FrameCount, state), element.Margins,
                  TilesMiddle(element));
}

void DrawSkinGlyph(QPainter &painter, const SkinElement &element, int state, const QRect &target)
{
    const QImage glyph = StateImage(element.Bitmap, element.FrameCount, state);
    if (glyph.isNull())
        return;
    const QPoint at(target.left() + (target.width() - glyph.width()) / 2,
                    target.top() + (target.height() - glyph.height()) / 2);
    painter.drawImage(at, glyph);
}

QRect FittedRect(const QSize &picture, const QRect &target)
{
    if (picture.isEmpty() || target.isEmpty())
        return {};
    const QSize size = picture.width() <= target.width() && picture.height() <= target.height()
                           ? picture
                           : picture.scaled(target.size(), Qt::KeepAspectRatio);
    return {target.left() + (target.width() - size.width()) / 2,
            target.top() + (target.height() - size.height()) / 2, std::max(size.width(), 1),
            std::max(size.height(), 1)};
}

void DrawFittedPicture(QPainter &painter, const QImage &picture, const QRect &target)
{
    const QRect at = FittedRect(picture.size(), target);
    if (at.isEmpty())
        return;
    if (at.size() == picture.size()) {
        painter.drawImage(at.topLeft(), picture);
        return;
    }
    painter.drawImage(at, picture.scaled(at.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void DrawBevel(QPainter &painter, const QRect &box, const QColor &light, const QColor &shadow, bool sunken)
{
    painter.setPen(sunken ? shadow : light);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(sunken ? light : shadow);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
}

}  // namespace qasp::skin
