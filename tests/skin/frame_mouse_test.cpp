// The mouse on a skinned frame, without a window: each row of the table is
// a sequence of pointer events and what the frame should do at each, then
// the state it ends in.
#include "skin/data/skin_elements.h"
#include "skin/windows/caption_button.h"
#include "skin/windows/frame_mouse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qasp::skin;
using Action = FrameMouse::Action;
using State = FrameMouse::State;

namespace {

enum class Event { Press, Move, Release, DoubleClick, Leave };

// Places on a 400-wide window: the caption, its close button (1) and icon
// (0), its borders, its content.
struct Place {
    FrameHit hit;
    int button;
    bool icon;
};
const Place kCaption{FrameHit::Caption, -1, false};
const Place kClose{FrameHit::Caption, 1, false};
const Place kIcon{FrameHit::Caption, 0, true};
const Place kContent{FrameHit::Client, -1, false};
const Place kRight{FrameHit::Right, -1, false};
const Place kBottomRight{FrameHit::BottomRight, -1, false};
const Place kFixedBorder{FrameHit::Border, -1, false};

struct Step {
    Event event;
    Place place;
    QPoint global;
    Action expected;
    Qt::MouseButton button = Qt::LeftButton;
};

struct Scenario {
    const char *name;
    std::vector<Step> steps;
    State end;
    bool windowNormal = true;
    bool windowActive = true;
};

FrameMouse::Reaction Send(FrameMouse &mouse, const Step &step, const Scenario &s)
{
    FramePointer p;
    p.global = step.global;
    p.hit = step.place.hit;
    p.button = step.place.button;
    p.onIcon = step.place.icon;
    p.windowNormal = s.windowNormal;
    p.windowActive = s.windowActive;
    switch (step.event) {
    case Event::Press: return mouse.press(step.button, p);
    case Event::Move: return mouse.move(p);
    case Event::Release: return mouse.release(step.button, p);
    case Event::DoubleClick: return mouse.doubleClick(step.button, p);
    case Event::Leave: mouse.leave(); return {};
    }
    return {};
}

const QPoint at(100, 10);

}  // namespace

TEST(FrameMouse, Transitions)
{
    const Scenario scenarios[] = {
        {"a held caption moves the window once the pointer has gone the drag distance",
         {{Event::Press, kCaption, at, Action::None},
          {Event::Move, kCaption, at + QPoint(4, 3), Action::None},
          {Event::Move, kCaption, at + QPoint(6, 4), Action::StartMove},
          {Event::Move, kContent, at + QPoint(60, 80), Action::Follow},
          {Event::Release, kContent, at + QPoint(60, 80), Action::EndDrag}},
         State::Idle},
        {"a click on the caption moves nothing",
         {{Event::Press, kCaption, at, Action::None}, {Event::Release, kCaption, at, Action::None}},
         State::Idle},
        {"a maximised window's caption does not move it",
         {{Event::Press, kCaption, at, Action::None},
          {Event::Move, kCaption, at + QPoint(50, 50), Action::None},
          {Event::Release, kCaption, at + QPoint(50, 50), Action::None}},
         State::Idle,
         false},
        {"a border sizes the window at once",
         {{Event::Press, kRight, at, Action::StartSize},
          {Event::Move, kRight, at + QPoint(1, 0), Action::Follow},
          {Event::Release, kRight, at + QPoint(1, 0), Action::EndDrag}},
         State::Idle},
        {"a fixed window's border does nothing",
         {{Event::Press, kFixedBorder, at, Action::None},
          {Event::Move, kFixedBorder, at + QPoint(30, 0), Action::None}},
         State::Idle},
        {"a caption button runs when released over itself",
         {{Event::Press, kClose, at, Action::PressButton}, {Event::Release, kClose, at, Action::RunButton}},
         State::Idle},
        {"a caption button released elsewhere on the frame does nothing",
         {{Event::Press, kClose, at, Action::PressButton}, {Event::Release, kCaption, at, Action::None}},
         State::Idle},
        {"a caption button released over another button does nothing",
         {{Event::Press, kClose, at, Action::PressButton}, {Event::Release, kIcon, at, Action::None}},
         State::Idle},
        {"a caption button released over the content does nothing; the content gets the release",
         {{Event::Press, kClose, at, Action::PressButton}, {Event::Release, kContent, at, Action::PassOn}},
         State::Idle},
        {"leaving a held button lets it go: coming back does not press it again",
         {{Event::Press, kClose, at, Action::PressButton},
          {Event::Move, kCaption, at, Action::None},
          {Event::Move, kClose, at, Action::None},
          {Event::Release, kClose, at, Action::None}},
         State::Idle},
        {"a held button stays held while the pointer stays on it",
         {{Event::Press, kClose, at, Action::PressButton},
          {Event::Move, kClose, at + QPoint(2, 2), Action::None}},
         State::ButtonPressed},
        {"the pointer leaving the window lets a held button go",
         {{Event::Press, kClose, at, Action::PressButton},
          {Event::Leave, kClose, at, Action::None},
          {Event::Release, kClose, at, Action::None}},
         State::Idle},
        {"a double click on the caption toggles maximised",
         {{Event::DoubleClick, kCaption, at, Action::ToggleMaximised}},
         State::Idle},
        {"a double click on the icon closes the window",
         {{Event::DoubleClick, kIcon, at, Action::CloseWindow}},
         State::Idle},
        {"a double click on another button, or with the right button, does nothing",
         {{Event::DoubleClick, kClose, at, Action::None},
          {Event::DoubleClick, kCaption, at, Action::None, Qt::RightButton}},
         State::Idle},
        {"a double click while the caption waits for a move still toggles",
         {{Event::Press, kCaption, at, Action::None},
          {Event::DoubleClick, kCaption, at, Action::ToggleMaximised}},
         State::Idle},
        {"a double click while dragging is ignored",
         {{Event::Press, kBottomRight, at, Action::StartSize},
          {Event::DoubleClick, kCaption, at, Action::None}},
         State::Sizing},
        {"a right click on the caption opens the window menu, on a border nothing",
         {{Event::Press, kCaption, at, Action::OpenWindowMenu, Qt::RightButton},
          {Event::Press, kRight, at, Action::None, Qt::RightButton},
          {Event::Press, kCaption, at, Action::None, Qt::MiddleButton}},
         State::Idle},
        {"the content gets every event that is not the frame's",
         {{Event::Move, kContent, at, Action::PassOn},
          {Event::Press, kContent, at, Action::PassOn},
          {Event::Release, kContent, at, Action::PassOn},
          {Event::DoubleClick, kContent, at, Action::PassOn}},
         State::Idle},
        {"any press ends a drag by hand",
         {{Event::Press, kRight, at, Action::StartSize}, {Event::Press, kContent, at, Action::EndDrag}},
         State::Idle},
    };
    for (const Scenario &s : scenarios) {
        FrameMouse mouse(10);
        for (size_t i = 0; i < s.steps.size(); ++i)
            EXPECT_EQ(Send(mouse, s.steps[i], s).action, s.steps[i].expected) << s.name << ", step " << i + 1;
        EXPECT_EQ(mouse.state(), s.end) << s.name;
    }
}

TEST(FrameMouse, DragsStartWhereThePressWas)
{
    FrameMouse mouse(10);
    FramePointer p;
    p.hit = FrameHit::Caption;
    p.global = QPoint(100, 10);
    mouse.press(Qt::LeftButton, p);
    p.global = QPoint(110, 10);  // exactly the drag distance
    const FrameMouse::Reaction move = mouse.move(p);
    EXPECT_EQ(move.action, Action::StartMove);
    EXPECT_EQ(move.origin, QPoint(100, 10));

    FrameMouse sizing(10);
    p.hit = FrameHit::TopLeft;
    const FrameMouse::Reaction size = sizing.press(Qt::LeftButton, p);
    EXPECT_EQ(size.action, Action::StartSize);
    EXPECT_EQ(size.edges, FrameHit::TopLeft);
    EXPECT_EQ(size.origin, QPoint(110, 10));
}

TEST(FrameMouse, TheWindowSystemTakingADragOverLeavesTheFrameIdle)
{
    FrameMouse mouse(10);
    FramePointer p;
    p.hit = FrameHit::Bottom;
    ASSERT_EQ(mouse.press(Qt::LeftButton, p).action, Action::StartSize);
    mouse.endDrag();
    EXPECT_EQ(mouse.state(), State::Idle);
    EXPECT_EQ(mouse.move(p).action, Action::None);  // no longer followed by hand

    // A move started from the window menu is followed until any press.
    mouse.beginDrag(FrameHit::Caption);
    EXPECT_EQ(mouse.state(), State::Moving);
    p.hit = FrameHit::Client;
    EXPECT_EQ(mouse.move(p).action, Action::Follow);
    EXPECT_EQ(mouse.press(Qt::LeftButton, p).action, Action::EndDrag);
    mouse.beginDrag(FrameHit::BottomRight);
    EXPECT_EQ(mouse.state(), State::Sizing);
}

TEST(FrameMouse, ButtonsLightUnderThePointerOfAnActiveWindow)
{
    FrameMouse mouse(10);
    FramePointer p;
    p.hit = FrameHit::Caption;
    p.button = 2;
    mouse.move(p);
    EXPECT_EQ(mouse.hotButton(), 2);
    EXPECT_EQ(mouse.pressedButton(), -1);
    mouse.press(Qt::LeftButton, p);
    EXPECT_EQ(mouse.pressedButton(), 2);
    mouse.release(Qt::LeftButton, p);
    EXPECT_EQ(mouse.hotButton(), 2);  // still under the pointer
    EXPECT_EQ(mouse.pressedButton(), -1);
    p.button = -1;
    mouse.move(p);
    EXPECT_EQ(mouse.hotButton(), -1);

    // An inactive window's buttons do not light up, but a press still holds one.
    p.windowActive = false;
    p.button = 1;
    mouse.move(p);
    EXPECT_EQ(mouse.hotButton(), -1);
    EXPECT_EQ(mouse.press(Qt::LeftButton, p).action, Action::PressButton);
    EXPECT_EQ(mouse.pressedButton(), 1);
    p.button = 0;
    mouse.move(p);  // not let go while the window is inactive
    EXPECT_EQ(mouse.pressedButton(), 1);
    mouse.reset();
    EXPECT_EQ(mouse.hotButton(), -1);
    EXPECT_EQ(mouse.state(), State::Idle);
}

TEST(CaptionButton, StateImageByLook)
{
    SkinCaptionButton close("close");
    close.Action = 0;
    SkinCaptionButton menuBar("menu");
    menuBar.Visibility = 100;
    struct Row {
        const SkinCaptionButton *description;
        int frames;
        CaptionButton::Look look;
        bool active;
        int image;
    } rows[] = {
        {&close, 3, CaptionButton::Look::Normal, true, 1},
        {&close, 3, CaptionButton::Look::Hot, true, 3},
        {&close, 3, CaptionButton::Look::Pressed, false, 2},
        {&close, 3, CaptionButton::Look::Normal, false, 1},  // no inactive image
        {&close, 4, CaptionButton::Look::Normal, false, 4},
        {&close, 4, CaptionButton::Look::Hot, false, 3},
        {&menuBar, 4, CaptionButton::Look::Hot, true, 4},
    };
    for (const Row &row : rows) {
        SkinCaptionButton description = *row.description;
        description.Bitmap = QImage(16 * row.frames, 16, QImage::Format_RGB888);
        description.FrameCount = row.frames;
        const CaptionButton button(&description, QImage());
        EXPECT_EQ(button.frameToDraw(row.look, row.active), row.image)
            << description.Name << " " << row.frames << " frames, look " << int(row.look);
    }
}

TEST(CaptionButton, TheIconWithoutAPictureShowsTheApplications)
{
    SkinCaptionButton icon("icon");
    icon.Action = 3;
    QImage appIcon(16, 16, QImage::Format_RGB888);
    const CaptionButton button(&icon, appIcon);
    EXPECT_TRUE(button.isIcon());
    EXPECT_EQ(button.slot().Picture, QSize(16, 16));
    icon.Action = 11;
    EXPECT_TRUE(CaptionButton(&icon, appIcon).isIcon());
    icon.Action = 0;
    EXPECT_FALSE(CaptionButton(&icon, appIcon).isIcon());
    EXPECT_EQ(CaptionButton(&icon, appIcon).slot().Picture, QSize());  // a close button without its picture
}
