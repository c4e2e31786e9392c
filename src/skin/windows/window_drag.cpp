#include "skin/windows/window_drag.h"

#include <QWindow>

namespace qasp::skin {

Qt::Edges EdgesOf(FrameHit hit)
{
    switch (hit) {
    case FrameHit::Left: return Qt::LeftEdge;
    case FrameHit::Right: return Qt::RightEdge;
    case FrameHit::Top: return Qt::TopEdge;
    case FrameHit::Bottom: return Qt::BottomEdge;
    case FrameHit::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case FrameHit::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case FrameHit::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case FrameHit::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
    }
}

Qt::CursorShape CursorFor(FrameHit hit)
{
    switch (hit) {
    case FrameHit::Left:
    case FrameHit::Right: return Qt::SizeHorCursor;
    case FrameHit::Top:
    case FrameHit::Bottom: return Qt::SizeVerCursor;
    case FrameHit::TopLeft:
    case FrameHit::BottomRight: return Qt::SizeFDiagCursor;
    case FrameHit::TopRight:
    case FrameHit::BottomLeft: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
    }
}

bool WindowDrag::begin(QWidget *window, FrameHit hit, QPoint globalPos)
{
    window_ = nullptr;
    if (QWindow *handle = window->windowHandle()) {
        const bool bySystem =
            hit == FrameHit::Caption ? handle->startSystemMove() : handle->startSystemResize(EdgesOf(hit));
        if (bySystem)
            return false;
    }
    window_ = window;
    hit_ = hit;
    start_ = globalPos;
    startGeometry_ = window->geometry();
    return true;
}

void WindowDrag::follow(QPoint globalPos)
{
    if (!window_)
        return;
    const QPoint delta = globalPos - start_;
    if (hit_ == FrameHit::Caption)
        window_->move(startGeometry_.topLeft() + delta);
    else
        window_->setGeometry(
            ResizedGeometry(startGeometry_, delta, hit_, window_->minimumSize(), window_->maximumSize()));
}

}  // namespace qasp::skin
