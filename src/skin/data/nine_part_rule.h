// The nine-part rule: how one state image of a skin element fills a
// rectangle of any size. Corners are copied, edges stretched along their
// length, the centre stretched or tiled.
#pragma once

#include "skin/data/skin_elements.h"

#include <QRect>
#include <QSize>

#include <vector>

namespace qasp::skin {

struct NinePart {
    QRect from;  // in the state image
    QRect to;    // in the target
    bool centre = false;
};

// The pieces to copy, in drawing order; empty pieces are left out. Margins
// that do not fit the target side by side are dropped in pairs, so a small
// target shows the picture's middle stretched rather than two clipped halves.
std::vector<NinePart> NinePartPieces(QSize source, const QRect &target, const SkinMargins &margins);

}  // namespace qasp::skin
