#include "skin/windows/frame_mouse.h"

namespace qasp::skin {
namespace {

using Action = FrameMouse::Action;
using Reaction = FrameMouse::Reaction;

Reaction Do(Action action)
{
    Reaction r;
    r.action = action;
    return r;
}

bool InContent(const FramePointer &p)
{
    return p.hit == FrameHit::Client && p.button < 0;
}

}  // namespace

void FrameMouse::leave()
{
    hot_ = -1;
    if (state_ == State::ButtonPressed)
        state_ = State::Idle;
}

void FrameMouse::beginDrag(FrameHit what)
{
    leave();
    state_ = what == FrameHit::Caption ? State::Moving : State::Sizing;
}

void FrameMouse::endDrag()
{
    if (state_ != State::ButtonPressed)
        state_ = State::Idle;
}

void FrameMouse::reset()
{
    state_ = State::Idle;
    hot_ = -1;
}

FrameMouse::Reaction FrameMouse::move(const FramePointer &p)
{
    switch (state_) {
    case State::Moving:
    case State::Sizing: return Do(Action::Follow);
    case State::DragPending: {
        if ((p.global - pressedAt_).manhattanLength() < dragDistance_)
            return Do(Action::None);
        state_ = State::Moving;
        Reaction r = Do(Action::StartMove);
        r.origin = pressedAt_;
        return r;
    }
    case State::Idle:
    case State::ButtonPressed: break;
    }
    if (InContent(p)) {
        leave();
        return Do(Action::PassOn);
    }
    if (!p.windowActive)
        return Do(Action::None);  // an inactive window's buttons do not light up
    if (p.button != hot_) {
        // Leaving the held button lets it go: coming back only lights it.
        state_ = State::Idle;
        hot_ = p.button;
    }
    return Do(Action::None);
}

FrameMouse::Reaction FrameMouse::press(Qt::MouseButton button, const FramePointer &p)
{
    switch (state_) {
    case State::Moving:
    case State::Sizing: state_ = State::Idle; return Do(Action::EndDrag);
    case State::DragPending: state_ = State::Idle; break;
    case State::Idle:
    case State::ButtonPressed: break;
    }
    return idlePress(button, p);
}

FrameMouse::Reaction FrameMouse::idlePress(Qt::MouseButton button, const FramePointer &p)
{
    if (InContent(p)) {
        leave();
        return Do(Action::PassOn);
    }
    if (button == Qt::RightButton)
        return Do(p.hit == FrameHit::Caption ? Action::OpenWindowMenu : Action::None);
    if (button != Qt::LeftButton)
        return Do(Action::None);
    if (p.button >= 0) {
        hot_ = p.button;
        state_ = State::ButtonPressed;
        Reaction r = Do(Action::PressButton);
        r.button = p.button;
        return r;
    }
    // A maximised window's caption does not move the window.
    if (p.hit == FrameHit::Caption && p.windowNormal) {
        state_ = State::DragPending;
        pressedAt_ = p.global;
        return Do(Action::None);
    }
    if (IsSizingHit(p.hit)) {
        state_ = State::Sizing;
        Reaction r = Do(Action::StartSize);
        r.origin = p.global;
        r.edges = p.hit;
        return r;
    }
    return Do(Action::None);
}

FrameMouse::Reaction FrameMouse::release(Qt::MouseButton button, const FramePointer &p)
{
    switch (state_) {
    case State::Moving:
    case State::Sizing: state_ = State::Idle; return Do(Action::EndDrag);
    case State::DragPending:
        state_ = State::Idle;  // a click on the caption
        return Do(Action::None);
    case State::ButtonPressed:
        if (button == Qt::LeftButton && p.button == hot_) {
            state_ = State::Idle;  // the button stays lit under the pointer
            Reaction r = Do(Action::RunButton);
            r.button = p.button;
            return r;
        }
        leave();
        break;
    case State::Idle: break;
    }
    return Do(InContent(p) ? Action::PassOn : Action::None);
}

FrameMouse::Reaction FrameMouse::doubleClick(Qt::MouseButton button, const FramePointer &p)
{
    if (dragging())
        return Do(Action::None);
    if (state_ == State::DragPending)
        state_ = State::Idle;
    if (InContent(p)) {
        leave();
        return Do(Action::PassOn);
    }
    if (button != Qt::LeftButton)
        return Do(Action::None);
    if (p.button >= 0)
        return Do(p.onIcon ? Action::CloseWindow : Action::None);
    return Do(p.hit == FrameHit::Caption ? Action::ToggleMaximised : Action::None);
}

}  // namespace qasp::skin
