// The mouse in a skinned frame as a small state machine. What a press, a
// move, a release or a double click means depends on what it lands on (a
// caption button, the caption, a border) and on what came before it: a
// caption button runs its action only when released over itself, the
// caption moves the window only once the pointer has travelled the drag
// distance (so that a click or a double click never starts a move), a
// border sizes the window at once. The machine decides; the window carries
// the decision out, so every transition can be checked without a window.
#pragma once

#include "skin/windows/frame_geometry.h"

#include <QPoint>

namespace qasp::skin {

// Where the pointer is, and what the window is like at that moment.
struct FramePointer {
    QPoint global;                    // on the screen
    FrameHit hit = FrameHit::Client;  // what that point of the frame means
    int button = -1;                  // the shown caption button under it, -1 for none
    bool onIcon = false;              // that button is the window's icon
    bool windowActive = true;
    bool windowNormal = true;  // neither maximised nor minimised
};

class FrameMouse {
public:
    enum class State {
        Idle,
        ButtonPressed,  // a caption button is held down
        DragPending,    // the caption is held down, the pointer has not gone far yet
        Moving,         // the window follows the pointer
        Sizing,         // an edge or corner follows the pointer
    };

    enum class Action {
        None,         // the frame's event; nothing to carry out
        PassOn,       // not the frame's: the window's content gets the event
        PressButton,  // a caption button went down (an inactive window is activated)
        RunButton,    // the pressed button was released over itself
        StartMove,    // from `origin`
        StartSize,    // `edges`, from `origin`
        Follow,       // a drag by hand: to the pointer
        EndDrag,
        ToggleMaximised,  // the caption was double-clicked
        CloseWindow,      // the icon was double-clicked
        OpenWindowMenu,   // the caption was right-clicked
    };

    struct Reaction {
        Action action = Action::None;
        int button = -1;                     // PressButton, RunButton
        QPoint origin;                       // StartMove, StartSize: where the press was
        FrameHit edges = FrameHit::Caption;  // StartSize
    };

    // `dragDistance`: how far the pointer travels on a held caption before
    // the window moves (the platform's drag distance).
    explicit FrameMouse(int dragDistance = 10) : dragDistance_(dragDistance) {}

    Reaction press(Qt::MouseButton button, const FramePointer &pointer);
    Reaction move(const FramePointer &pointer);
    Reaction release(Qt::MouseButton button, const FramePointer &pointer);
    Reaction doubleClick(Qt::MouseButton button, const FramePointer &pointer);

    // The pointer left the caption buttons by other ways than a move (it
    // left the window, the window changed state, the buttons were rebuilt):
    // nothing is hot, and a held button is let go without its action.
    void leave();
    // A drag by hand started from the window menu: Caption moves, an edge sizes.
    void beginDrag(FrameHit what);
    // The drag is over, or the window system has taken it over.
    void endDrag();
    // Back to idle with nothing lit: the frame was detached.
    void reset();

    State state() const { return state_; }
    bool dragging() const { return state_ == State::Moving || state_ == State::Sizing; }
    // The caption button under the pointer, or -1.
    int hotButton() const { return hot_; }
    // The caption button held down, or -1.
    int pressedButton() const { return state_ == State::ButtonPressed ? hot_ : -1; }

private:
    Reaction idlePress(Qt::MouseButton button, const FramePointer &pointer);

    State state_ = State::Idle;
    int hot_ = -1;
    int dragDistance_;
    QPoint pressedAt_;
};

}  // namespace qasp::skin
