// The one routine that paints a skin element's state image into a
// rectangle: the fixed margins drawn as they are, the middle stretched (or
// tiled), magenta transparent when the element says so.
#pragma once

#include "skin/data/skin_elements.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace qasp::skin {

// State image `state` (1-based) of an image whose FrameCount images lie side
// by side (or above one another when `vertical`).
QImage StateImage(const QImage &bitmap, int frameCount, int state, bool vertical = false);

void DrawNineSlice(QPainter &painter, const QRect &target, const QImage &image, const SkinMargins &margins,
                   bool transparent, bool tile);

void DrawSkinElement(QPainter &painter, const SkinElement &element, int state, const QRect &target);

// A state image as a glyph: centred in the target at its own size.
void DrawSkinGlyph(QPainter &painter, const SkinElement &element, int state, const QRect &target);

// Magenta (0xFF00FF) made transparent.
QImage WithMagentaTransparent(const QImage &image);

}  // namespace qasp::skin
