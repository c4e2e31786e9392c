// The one routine that paints a skin element's state image into a
// rectangle: the fixed margins drawn as they are, the middle stretched or
// tiled. The pictures arrive with magenta already made transparent.
#pragma once

#include "skin/data/skin_elements.h"

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace qasp::skin {

// State image `state` (1-based) of an image whose FrameCount images lie side
// by side (or above one another when `vertical`).
QImage StateImage(const QImage &bitmap, int frameCount, int state, bool vertical = false);

// With `tile` the edges repeat along their length and the centre both ways
// instead of being stretched.
void DrawNineSlice(QPainter &painter, const QRect &target, const QImage &image, const SkinMargins &margins,
                   bool tile);

// Whether an element's middle is tiled (its Tile field is 1) or stretched:
// the one rule for every element, frame borders and menu bar included.
bool TilesMiddle(const SkinElement &element);

void DrawSkinElement(QPainter &painter, const SkinElement &element, int state, const QRect &target);

// A state image as a glyph: centred in the target at its own size.
void DrawSkinGlyph(QPainter &painter, const SkinElement &element, int state, const QRect &target);

// Where a picture lands when fitted into a target as a whole: scaled down
// (never up) keeping its aspect, centred.
QRect FittedRect(const QSize &picture, const QRect &target);

// A picture drawn at its FittedRect, smoothly scaled.
void DrawFittedPicture(QPainter &painter, const QImage &picture, const QRect &target);

// Magenta (0xFF00FF), the skin's transparent colour, made transparent; the
// image becomes premultiplied ARGB. Done once to every picture as a skin
// loads, so no painter ever shows magenta.
void MakeMagentaTransparent(QImage &image);

// A one-pixel edge around `box` (its right and bottom lines inside it):
// light above and left and shadow below and right when raised, the other
// way round when sunken.
void DrawBevel(QPainter &painter, const QRect &box, const QColor &light, const QColor &shadow, bool sunken);

}  // namespace qasp::skin
