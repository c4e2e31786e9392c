// SkinnedWindow: the skin's frame on one top-level window. The window
// becomes frameless; its borders and caption, with the caption's text and
// buttons, are painted in the window's margins (FramePainter), its shape
// is cut from the borders' magenta pixels, the mouse on the frame moves,
// sizes, maximises, minimises and closes it (FrameMouse), and its controls
// are skinned (SkinnedControlRegistry). Detaching gives the window back
// exactly as it was.
#pragma once

#include "skin/windows/frame_geometry.h"
#include "skin/windows/frame_mouse.h"
#include "skin/windows/frame_painter.h"
#include "skin/windows/skinned_control_registry.h"
#include "skin/windows/window_drag.h"

#include <QCursor>
#include <QMenu>
#include <QMargins>
#include <QObject>
#include <QPalette>
#include <QShortcut>
#include <QPointer>
#include <QRegion>
#include <QTimer>

class QMouseEvent;
class QWidget;

namespace qasp::skin {

class SkinData;

class SkinnedWindow : public QObject {
    Q_OBJECT
public:
    enum class State {
        New,            // made, its window not yet set up
        SizingAtSetup,  // widening a dialog box to its caption
        Ready,
        Refreshing,  // following a skin change
        Destroying,  // its window is going
        Dead,        // its window is gone; the manager frees it
    };

    // `owner` is the program's own form the painter serves (it owns the
    // painter), or none for a system dialog box.
    SkinnedWindow(QWidget *window, QWidget *owner);
    ~SkinnedWindow() override;

    QWidget *window() const { return window_; }
    SkinData *skinData() const { return skinData_; }
    State state() const { return state_; }
    bool isSystemDialog() const { return systemDialog_; }
    int frameKind() const { return frameKind_; }
    // Painted as the active window.
    bool looksActive() const { return active_; }
    const FrameMetrics &metrics() const { return painter_.metrics(); }
    // Maximised as the frame shows it: by the window system, or by hand
    // where none keeps the state.
    bool looksMaximised() const { return windowState_ == kMaximisedState; }
    const FramePainter &framePainter() const { return painter_; }
    const SkinnedControlRegistry &controls() const { return controls_; }

    void attach(SkinData *skinData);
    // The window has been shown: its controls are skinned, its caption laid out.
    void finishSetup();
    // A new skin: metrics and caption buttons from its model, then the
    // window refreshed.
    void recalcMetrics();
    void refreshAfterSkinChange();
    // The skin's model is about to go: nothing may point into it.
    void dropCachedPieces();
    void detach();
    // A control added after set-up.
    void classifyLateControl(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool frameEvent(QEvent *event);
    bool mouseEvent(QMouseEvent *event);
    void carryOut(const FrameMouse::Reaction &reaction, QPoint global);
    FramePointer pointerAt(QPoint point, QPoint global) const;
    void runButtonAction(int action, QPoint globalPoint);
    // Maximises or restores the window, posted; where no window manager
    // sizes a maximised window, it is sized to the screen's available area
    // by hand, and restored to where it was.
    void setMaximised(bool on);
    // A click on the icon while the window menu it opened is up.
    bool windowMenuEvent(QEvent *event);
    void openWindowMenu(QPoint globalPoint);
    void dropWindowMenu();
    void beginDragByHand(FrameHit what);
    void onHoverTimer();
    void repaintFrame();
    void repaintButtons(int hotBefore, int pressedBefore);
    FramePainter::WindowLook look() const;
    QString captionText() const;
    void detachOnDestroy();
    void applyFrame(bool on);
    void keepClientSize(const FrameMetrics &from, const FrameMetrics &to);
    void updateShape();
    void readWindowState();
    void widenForCaption();
    void setCursorFor(FrameHit hit);
    bool windowLooksActive() const;

    QPointer<QWidget> window_;
    SkinData *skinData_ = nullptr;
    State state_ = State::New;
    bool attached_ = false;
    bool skinsFrame_ = false;
    int windowState_ = kNormalState;
    QRect normalGeometry_;          // before maximising
    bool maximisedByHand_ = false;  // sized to the screen; the system kept no state
    int frameKind_ = kSizableFrame;
    int capabilities_ = 0;
    bool active_ = false, systemDialog_ = false, rightToLeft_ = false, sizable_ = false;
    FrameMetrics applied_;  // the margins the window carries now
    FramePainter painter_;
    SkinnedControlRegistry controls_;
    FrameMouse mouse_;
    WindowDrag drag_;
    QTimer hoverTimer_;  // notices the pointer leaving a lit caption button
    QPointer<QMenu> windowMenu_;
    QRect iconClicked_;  // global: the icon whose click opened the window menu
    QPointer<QShortcut> windowMenuKey_;
    bool windowMenuOpen_ = false;
    qint64 windowMenuOpenedAt_ = 0;
    int doubleClickTime_ = 400;
    int widenings_ = 0;

    // What skinning changed, to give back.
    struct Saved {
        Qt::WindowFlags flags;
        QMargins margins;
        QRegion mask;
        QPalette palette;
        bool paletteSet = false;
        bool mouseTracking = false;
        bool cursorSet = false;
        QCursor cursor;
        QSize minimum, maximum;
    } saved_;
};

}  // namespace qasp::skin
