// Moving and sizing a frameless window from its skinned frame: the window
// system does it when it can; without a window manager (a bare X server)
// the window follows the pointer instead.
#pragma once

#include "skin/windows/frame_geometry.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace qasp::skin {

class WindowDrag {
public:
    // Starts moving (Caption) or sizing (an edge or corner) from a point
    // on the screen. Returns true when the drag runs by hand, so the
    // caller forwards the pointer.
    bool begin(QWidget *window, FrameHit hit, QPoint globalPos);
    bool isActive() const { return window_ != nullptr; }
    void follow(QPoint globalPos);
    void end() { window_ = nullptr; }

private:
    QPointer<QWidget> window_;
    FrameHit hit_ = FrameHit::Caption;
    QPoint start_;
    QRect startGeometry_;
};

Qt::Edges EdgesOf(FrameHit hit);
Qt::CursorShape CursorFor(FrameHit hit);

}  // namespace qasp::skin
