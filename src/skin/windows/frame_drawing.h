// Drawing the four frame borders from the skin, and the window shape they
// cut: every border pixel that is not magenta belongs to the window.
#pragma once

#include "skin/windows/frame_geometry.h"

#include <QRegion>

class QPainter;

namespace qasp::skin {

struct SkinModel;

// Which of a border's stacked state images to use.
int BorderState(const SkinBorder &border, bool active);

// One border into its rectangle by the nine-part rule; the Top and Bottom
// borders stack their state images vertically, the sides side by side.
void DrawFrameBorder(QPainter &painter, const SkinBorder &border, const QRect &target, bool active);

// The pixels of an image that are not magenta, as a region at `offset`.
QRegion OpaquePixels(const QImage &image, QPoint offset);

// The window's shape for this size: the inner rectangle and the borders,
// cut where a border with its Trans flag shows magenta.
QRegion BuildFrameRegion(const SkinModel &model, const FrameMetrics &m, QSize window, int frameKind);

}  // namespace qasp::skin
