#include "skin/windows/skinned_window.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skin_palette.h"
#include "skin/windows/window_menu.h"
#include "skin/windows/window_rule.h"

#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

namespace qasp::skin {
namespace {

int CapabilitiesOf(const QWidget *w)
{
    const Qt::WindowFlags flags = w->windowFlags();
    int caps = 0;
    if (flags & Qt::CustomizeWindowHint) {
        if (flags & Qt::WindowSystemMenuHint)
            caps |= kSystemMenu;
        if (flags & Qt::WindowMinimizeButtonHint)
            caps |= kMinimiseBox;
        if (flags & Qt::WindowMaximizeButtonHint)
            caps |= kMaximiseBox;
    } else {
        // The decorations a window of its type gets by default.
        caps |= kSystemMenu;
        if (w->windowType() == Qt::Window)
            caps |= kMinimiseBox | kMaximiseBox;
    }
    return caps;
}

bool IsFixedSize(const QWidget *w)
{
    if (w->minimumSize() == w->maximumSize())
        return true;
    const QLayout *layout = w->layout();
    return (layout && layout->sizeConstraint() == QLayout::SetFixedSize)
           || (w->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
}

int FrameKindOf(const QWidget *w, bool sizable, bool systemDialog)
{
    const Qt::WindowFlags flags = w->windowFlags();
    if ((flags & Qt::FramelessWindowHint)
        || ((flags & Qt::CustomizeWindowHint) && !(flags & Qt::WindowTitleHint)))
        return kNoCaption;
    if (systemDialog)
        return kDialogFrame;
    if (sizable)
        return kSizableFrame;
    return w->windowType() == Qt::Dialog ? kDialogFrame : kFixedFrame;
}

void SetWindowFlagsInPlace(QWidget *w, Qt::WindowFlags flags)
{
    // Told to the widget and its native window alike, without the hide and
    // show that setWindowFlags would cost a visible window.
    w->overrideWindowFlags(flags);
    if (QWindow *handle = w->windowHandle())
        handle->setFlags(flags);
}

bool AtMost(QSize a, int limit)
{
    return a.width() <= limit && a.height() <= limit;
}

int DragDistance()
{
    return qGuiApp ? QGuiApplication::styleHints()->startDragDistance() : 10;
}

// Posted, as the window system would: the click that asked for it ends first.
void PostToWindow(QWidget *w, void (QWidget::*call)())
{
    QTimer::singleShot(0, w, [w, call] { (w->*call)(); });
}

void PostClose(QWidget *w)
{
    QTimer::singleShot(0, w, [w] { w->close(); });
}

}  // namespace

SkinnedWindow::SkinnedWindow(QWidget *window, QWidget *owner)
    : QObject(owner),
      window_(window),
      controls_(window, owner == nullptr, this),
      mouse_(DragDistance())
{
    if (qGuiApp)
        doubleClickTime_ = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    hoverTimer_.setInterval(250);
    connect(&hoverTimer_, &QTimer::timeout, this, &SkinnedWindow::onHoverTimer);
    connect(window, &QObject::destroyed, this, [this] {
        state_ = State::Destroying;
        detachOnDestroy();
        state_ = State::Dead;
        if (!parent())
            deleteLater();  // a system dialog's painter has no owner to free it
    });
}

SkinnedWindow::~SkinnedWindow()
{
    dropWindowMenu();
    if (SkinManager *manager = SkinManager::instance())
        manager->forgetWindow(this);
}

void SkinnedWindow::attach(SkinData *skinData)
{
    if (attached_ || !window_)
        return;
    if (SkinManagerLink *manager = SkinManagerLink::instance())
        manager->setState(SkinManagerState::Running);
    skinData_ = skinData;
    controls_.setSkinData(skinData);
    skinsFrame_ = skinData->Has(xcMainMenu);
    QWidget *w = window_;
    rightToLeft_ = w->layoutDirection() == Qt::RightToLeft;
    systemDialog_ = IsSystemDialogClass(QString::fromLatin1(w->metaObject()->className()));
    capabilities_ = CapabilitiesOf(w);
    readWindowState();
    sizable_ = !IsFixedSize(w);
    if (!sizable_)
        capabilities_ &= ~kMaximiseBox;
    frameKind_ = FrameKindOf(w, sizable_, systemDialog_);
    w->installEventFilter(this);
    attached_ = true;
    // Alt+Space reaches the window menu from whichever control has focus.
    windowMenuKey_ = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), w);
    connect(windowMenuKey_, &QShortcut::activated, this,
            [this] { openWindowMenu(window_->mapToGlobal(window_->contentsRect().topLeft())); });

    saved_.paletteSet = w->testAttribute(Qt::WA_SetPalette);
    saved_.palette = w->palette();
    w->setPalette(SkinPalette(skinData->Model(), saved_.palette));

    if (!skinsFrame_) {
        state_ = State::Ready;
        return;
    }
    painter_.setCaptionFont(QGuiApplication::font());
    recalcMetrics();
    applyFrame(true);
}

void SkinnedWindow::applyFrame(bool on)
{
    QWidget *w = window_;
    if (on) {
        saved_.flags = w->windowFlags();
        saved_.margins = w->contentsMargins();
        saved_.mask = w->mask();
        saved_.mouseTracking = w->hasMouseTracking();
        saved_.cursorSet = w->testAttribute(Qt::WA_SetCursor);
        saved_.cursor = w->cursor();
        saved_.minimum = w->minimumSize();
        saved_.maximum = w->maximumSize();
        const QPoint outer = w->frameGeometry().topLeft();
        if (frameKind_ != kNoCaption)
            SetWindowFlagsInPlace(w, saved_.flags | Qt::FramelessWindowHint);
        keepClientSize(FrameMetrics{}, painter_.metrics());
        if (w->isVisible() && outer != w->pos())
            w->move(outer);
        w->setMouseTracking(true);
        painter_.clearShape();
        updateShape();
        return;
    }
    keepClientSize(applied_, FrameMetrics{});
    w->setContentsMargins(saved_.margins);
    if (w->windowFlags() != saved_.flags)
        SetWindowFlagsInPlace(w, saved_.flags);
    if (saved_.mask.isEmpty())
        w->clearMask();
    else
        w->setMask(saved_.mask);
    w->setMouseTracking(saved_.mouseTracking);
    if (saved_.cursorSet)
        w->setCursor(saved_.cursor);
    else
        w->unsetCursor();
}

void SkinnedWindow::keepClientSize(const FrameMetrics &from, const FrameMetrics &to)
{
    QWidget *w = window_;
    const QSize extra = to.Extra();
    const QSize client = w->size() - from.Extra();
    w->setContentsMargins(saved_.margins + to.Margins());
    applied_ = to;
    // A fixed-size window is fixed at its client size plus the frame.
    if (saved_.minimum == saved_.maximum && AtMost(saved_.minimum, QWIDGETSIZE_MAX - 1000))
        w->setFixedSize(saved_.minimum + extra);
    if (windowState_ != kNormalState)
        return;  // a maximised or minimised window keeps the size it has
    w->resize(client + extra);
}

void SkinnedWindow::finishSetup()
{
    if (!window_ || !attached_)
        return;
    QWidget *w = window_;
    // Sizes settle when the window has been shown: a message box fixes
    // its size only then.
    sizable_ = !IsFixedSize(w);
    if (!sizable_)
        capabilities_ &= ~kMaximiseBox;
    painter_.setAppIcon(skinData_ ? skinData_->AppIconBitmap() : QImage());
    controls_.classifyAll();
    if (state_ == State::New) {
        state_ = State::SizingAtSetup;
        if (systemDialog_ && skinsFrame_)
            widenForCaption();
        state_ = State::Ready;
    }
    readWindowState();
    active_ = windowLooksActive();
    if (active_)
        hoverTimer_.start();
    updateShape();
    repaintFrame();
}

void SkinnedWindow::widenForCaption()
{
    if (frameKind_ == kNoCaption)
        return;
    const int needed = painter_.widthForCaption(skinData_->Model().Title, captionText());
    QWidget *w = window_;
    if (needed <= w->width())
        return;
    ++widenings_;
    if (w->minimumWidth() == w->maximumWidth())
        w->setFixedWidth(needed);
    else
        w->resize(needed, w->height());
}

void SkinnedWindow::readWindowState()
{
    const Qt::WindowStates s = window_ ? window_->windowState() : Qt::WindowNoState;
    windowState_ = s & Qt::WindowMinimized                            ? kMinimisedState
                   : s & (Qt::WindowMaximized | Qt::WindowFullScreen) ? kMaximisedState
                                                                      : kNormalState;
    if (windowState_ == kNormalState && maximisedByHand_)
        windowState_ = kMaximisedState;
}

void SkinnedWindow::recalcMetrics()
{
    if (!skinData_ || skinData_->NoSkin())
        return;
    mouse_.leave();
    painter_.setSkin(skinData_->Model(), frameKind_, skinData_->AppIconBitmap());
}

void SkinnedWindow::dropCachedPieces()
{
    mouse_.leave();
    painter_.dropSkin();
}

void SkinnedWindow::updateShape()
{
    if (state_ == State::Dead || !window_ || !skinsFrame_ || !skinData_)
        return;
    QWidget *w = window_;
    if (painter_.updateShape(skinData_->Model(), applied_, w->size(), frameKind_,
                             state_ == State::Refreshing))
        w->setMask(painter_.shape());
}

void SkinnedWindow::refreshAfterSkinChange()
{
    if (!window_ || !attached_ || !skinData_)
        return;
    QWidget *w = window_;
    w->setPalette(SkinPalette(skinData_->Model(), saved_.palette));
    controls_.updateFromSkin();
    state_ = State::Refreshing;
    if (skinsFrame_) {
        keepClientSize(applied_, painter_.metrics());
        updateShape();
    }
    state_ = State::Ready;
    w->update();
}

void SkinnedWindow::detach()
{
    if (!attached_)
        return;
    dropWindowMenu();
    delete windowMenuKey_;
    hoverTimer_.stop();
    drag_.end();
    mouse_.reset();
    attached_ = false;
    controls_.release();
    if (QWidget *w = window_) {
        w->removeEventFilter(this);
        if (state_ != State::Destroying)
            w->setPalette(saved_.paletteSet ? saved_.palette : QPalette());
        if (skinsFrame_ && state_ != State::Destroying)
            applyFrame(false);
        w->update();
    }
    painter_.clearShape();
}

void SkinnedWindow::detachOnDestroy()
{
    // The window is gone: only the painter's own pieces are let go; the
    // controls' objects go with their controls.
    controls_.forget();
    hoverTimer_.stop();
    drag_.end();
    mouse_.reset();
    attached_ = false;
    dropWindowMenu();
    painter_.clearShape();
}

void SkinnedWindow::classifyLateControl(QWidget *control)
{
    if (state_ == State::Ready)
        controls_.classifyLate(control);
}

bool SkinnedWindow::windowLooksActive() const
{
    QWidget *w = window_;
    if (!w)
        return false;
    if (w->isActiveWindow())
        return true;
    // A window stays active-looking while one of its menus is open.
    const QWidget *popup = QApplication::activePopupWidget();
    return popup && popup->parentWidget() && popup->parentWidget()->window() == w;
}

QString SkinnedWindow::captionText() const
{
    if (!window_)
        return {};
    QString title = window_->windowTitle();
    const int mark = title.indexOf(QLatin1String("[*]"));
    if (mark >= 0)
        title.replace(mark, 3, window_->isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

FramePainter::WindowLook SkinnedWindow::look() const
{
    QWidget *w = window_;
    FramePainter::WindowLook look;
    look.size = w->size();
    look.caption = captionText();
    look.icon = w->windowIcon();
    look.rightToLeft = rightToLeft_;
    look.facts.WindowState = windowState_;
    look.facts.IsActive = active_;
    look.facts.Capabilities = capabilities_;
    look.facts.FrameKind = frameKind_;
    look.facts.IsSystemDialog = systemDialog_;
    look.facts.AskApplication = [w](int visibility, int action) {
        return static_cast<int>(SendSkinMessage(w, kButtonVisibleEvent, visibility, action));
    };
    look.hotButton = mouse_.hotButton();
    look.pressedButton = mouse_.pressedButton();
    return look;
}

void SkinnedWindow::repaintFrame()
{
    if (!window_ || !skinsFrame_)
        return;
    QWidget *w = window_;
    w->update(QRegion(w->rect()) - QRegion(w->contentsRect()));
}

void SkinnedWindow::repaintButtons(int hotBefore, int pressedBefore)
{
    if (!window_ || (hotBefore == mouse_.hotButton() && pressedBefore == mouse_.pressedButton()))
        return;
    const std::vector<CaptionButton> &buttons = painter_.buttons();
    for (const int i : {hotBefore, mouse_.hotButton()})
        if (i >= 0 && i < static_cast<int>(buttons.size())
            && !buttons[static_cast<size_t>(i)].bounds().isEmpty())
            window_->update(buttons[static_cast<size_t>(i)].bounds());
}

void SkinnedWindow::onHoverTimer()
{
    const int hot = mouse_.hotButton();
    if (windowMenuOpen_ || !window_ || hot < 0 || hot >= static_cast<int>(painter_.buttons().size()))
        return;
    if (!painter_.buttons()[static_cast<size_t>(hot)].bounds().contains(
            window_->mapFromGlobal(QCursor::pos()))) {
        const int pressed = mouse_.pressedButton();
        mouse_.leave();
        repaintButtons(hot, pressed);
    }
}

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowMenu_ && watched)
        return windowMenuEvent(event);
    if (watched != window_)
        return false;
    if (AnswerSkinQuery(event))
        return true;
    switch (static_cast<int>(event->type())) {
    case kFinishSetupEvent: finishSetup(); return true;
    case kRefreshSkinEvent: refreshAfterSkinChange(); return true;
    case kRepaintFrameEvent: repaintFrame(); return true;
    default: break;
    }
    return skinsFrame_ && frameEvent(event);
}

bool SkinnedWindow::frameEvent(QEvent *event)
{
    QWidget *w = window_;
    switch (event->type()) {
    case QEvent::Paint: {
        if ((state_ != State::Ready && state_ != State::Refreshing) || frameKind_ == kNoCaption)
            return false;
        // The window paints itself first; the frame goes over its margins.
        static_cast<QObject *>(w)->event(event);
        if (skinData_ && !skinData_->NoSkin()) {
            QPainter painter(w);
            painter_.paint(painter, skinData_->Model(), look());
        }
        return true;
    }
    case QEvent::Resize:
        updateShape();
        // A dialog that sizes itself (a message box does, whenever its
        // layout changes) may shrink below its caption again.
        if (systemDialog_ && state_ == State::Ready && widenings_ < 4)
            QTimer::singleShot(0, this, [this] { widenForCaption(); });
        return false;
    case QEvent::WindowStateChange: {
        readWindowState();
        const int hot = mouse_.hotButton(), pressed = mouse_.pressedButton();
        mouse_.leave();
        repaintButtons(hot, pressed);
        repaintFrame();
        return false;
    }
    case QEvent::ActivationChange:
        active_ = windowLooksActive();
        if (active_)
            hoverTimer_.start();
        else
            hoverTimer_.stop();
        repaintFrame();
        return false;
    case QEvent::WindowTitleChange:
    case QEvent::ModifiedChange:
    case QEvent::WindowIconChange: repaintFrame(); return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return mouseEvent(static_cast<QMouseEvent *>(event));
    case QEvent::Leave: {
        const int hot = mouse_.hotButton(), pressed = mouse_.pressedButton();
        mouse_.leave();
        repaintButtons(hot, pressed);
        setCursorFor(FrameHit::Client);
        return false;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier) {
            openWindowMenu(w->mapToGlobal(w->contentsRect().topLeft()));
            return true;
        }
        return false;
    }
    default: return false;
    }
}

FramePointer SkinnedWindow::pointerAt(QPoint point, QPoint global) const
{
    FramePointer p;
    p.global = global;
    p.hit = FrameHitTest(point, window_->size(), applied_, sizable_, windowState_);
    p.button = painter_.buttonAt(point);
    p.onIcon = p.button >= 0 && painter_.buttons()[static_cast<size_t>(p.button)].isIcon();
    p.windowActive = active_;
    p.windowNormal = windowState_ == kNormalState;
    return p;
}

void SkinnedWindow::setCursorFor(FrameHit hit)
{
    QWidget *w = window_;
    if (IsSizingHit(hit))
        w->setCursor(CursorFor(hit));
    else if (saved_.cursorSet)
        w->setCursor(saved_.cursor);
    else
        w->unsetCursor();
}

bool SkinnedWindow::mouseEvent(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    const FramePointer pointer = pointerAt(event->position().toPoint(), global);
    const FrameMouse::State before = mouse_.state();
    const int hotBefore = mouse_.hotButton(), pressedBefore = mouse_.pressedButton();
    FrameMouse::Reaction reaction;
    switch (event->type()) {
    case QEvent::MouseMove:
        reaction = mouse_.move(pointer);
        // The cursor tells what a press would do, unless the frame holds the mouse.
        if (before == FrameMouse::State::Idle || before == FrameMouse::State::ButtonPressed)
            setCursorFor(pointer.button >= 0 ? FrameHit::Caption : pointer.hit);
        break;
    case QEvent::MouseButtonPress: reaction = mouse_.press(event->button(), pointer); break;
    case QEvent::MouseButtonRelease: reaction = mouse_.release(event->button(), pointer); break;
    case QEvent::MouseButtonDblClick: reaction = mouse_.doubleClick(event->button(), pointer); break;
    default: return false;
    }
    repaintButtons(hotBefore, pressedBefore);
    carryOut(reaction, global);
    return reaction.action != FrameMouse::Action::PassOn;
}

void SkinnedWindow::carryOut(const FrameMouse::Reaction &reaction, QPoint global)
{
    using Action = FrameMouse::Action;
    QWidget *w = window_;
    switch (reaction.action) {
    case Action::None:
    case Action::PassOn: break;
    case Action::PressButton:
        if (!active_)
            w->activateWindow();
        break;
    case Action::RunButton:
        runButtonAction(painter_.buttons()[static_cast<size_t>(reaction.button)].action(), global);
        break;
    case Action::StartMove:
        // By hand the window catches up with the pointer at once.
        if (drag_.begin(w, FrameHit::Caption, reaction.origin))
            drag_.follow(global);
        else
            mouse_.endDrag();  // the window system moves it
        break;
    case Action::StartSize:
        if (!drag_.begin(w, reaction.edges, reaction.origin))
            mouse_.endDrag();
        break;
    case Action::Follow: drag_.follow(global); break;
    case Action::EndDrag:
        drag_.end();
        if (QWidget::mouseGrabber() == w)
            w->releaseMouse();
        break;
    case Action::ToggleMaximised:
        if (windowState_ != kNormalState)
            setMaximised(false);
        else if (capabilities_ & kMaximiseBox)
            setMaximised(true);
        break;
    case Action::CloseWindow:
        hoverTimer_.stop();
        PostClose(w);
        break;
    case Action::OpenWindowMenu: openWindowMenu(global); break;
    }
}

void SkinnedWindow::runButtonAction(int action, QPoint globalPoint)
{
    QWidget *w = window_;
    if (!w)
        return;
    switch (action) {
    case 0:
        if (!(w->windowFlags() & Qt::CustomizeWindowHint) || (w->windowFlags() & Qt::WindowCloseButtonHint)) {
            hoverTimer_.stop();
            PostClose(w);
        }
        break;
    case 1:
    case 22:
        if (windowState_ == kMaximisedState) {
            setMaximised(false);
        } else {
            windowState_ = kMaximisedState;
            setMaximised(true);
        }
        break;
    case 2:
    case 23:
        PostToWindow(w, windowState_ == kMinimisedState ? &QWidget::showNormal : &QWidget::showMinimized);
        break;
    case 3:
    case 11:
    case 12: openWindowMenu(globalPoint + QPoint(1, 1)); break;
    case 7:
    case 8:
    case 9:
    case 60:
    case 61:
    case 62: break;  // buttons of a maximised MDI child: this program has no MDI frames
    default: PostSkinMessage(w, kButtonActionEvent, action, 0); break;
    }
}

bool SkinnedWindow::windowMenuEvent(QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (mouse->button() != Qt::LeftButton || !iconClicked_.contains(mouse->globalPosition().toPoint())
        || now - windowMenuOpenedAt_ >= doubleClickTime_)
        return false;
    // The icon clicked twice: the menu goes and the window closes.
    windowMenu_->close();
    hoverTimer_.stop();
    PostClose(window_);
    return true;
}

void SkinnedWindow::setMaximised(bool on)
{
    QWidget *w = window_;
    if (!w)
        return;
    if (on && !(w->windowState() & Qt::WindowMaximized))
        normalGeometry_ = w->geometry();
    QTimer::singleShot(0, w, [this, w = QPointer<QWidget>(w), on] {
        if (!w)
            return;
        if (on) {
            w->showMaximized();
            // A window manager would do the same; without one the frameless
            // window keeps its size, and X drops the state again.
            if (QScreen *screen = w->screen(); screen && w->geometry() != screen->availableGeometry()) {
                maximisedByHand_ = true;
                w->setGeometry(screen->availableGeometry());
                readWindowState();
                repaintFrame();
            }
        } else {
            maximisedByHand_ = false;
            w->showNormal();
            if (normalGeometry_.isValid() && w->geometry() != normalGeometry_)
                w->setGeometry(normalGeometry_);
            normalGeometry_ = {};
            readWindowState();
            repaintFrame();
        }
    });
}

void SkinnedWindow::dropWindowMenu()
{
    // Out of the pointer first: the menu's hide event, sent while it is
    // being destroyed, passes the event filter, which compares it with the
    // pointer (a QMenu no more by then).
    QMenu *menu = windowMenu_;
    windowMenu_ = nullptr;
    delete menu;
}

void SkinnedWindow::openWindowMenu(QPoint globalPoint)
{
    QWidget *w = window_;
    if (!w)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - windowMenuOpenedAt_ < doubleClickTime_ && mouse_.hotButton() >= 0) {
        // The icon was clicked twice.
        hoverTimer_.stop();
        PostClose(w);
        return;
    }
    windowMenuOpenedAt_ = now;
    iconClicked_ = {};
    if (const int hot = mouse_.hotButton(); hot >= 0 && hot < static_cast<int>(painter_.buttons().size()))
        iconClicked_ = QRect(w->mapToGlobal(painter_.buttons()[static_cast<size_t>(hot)].bounds().topLeft()),
                             painter_.buttons()[static_cast<size_t>(hot)].bounds().size());
    dropWindowMenu();
    WindowMenuFacts facts;
    facts.windowState = windowState_;
    facts.capabilities = capabilities_;
    facts.sizable = sizable_;
    QMenu *menu = BuildWindowMenu(
        w, skinData_ ? skinData_->MenuImages() : QImage(), facts,
        [this] { beginDragByHand(FrameHit::Caption); }, [this] { beginDragByHand(FrameHit::BottomRight); },
        [this](bool on) { setMaximised(on); });
    windowMenu_ = menu;
    // The open menu takes the pointer: the icon's second click reaches it.
    menu->installEventFilter(this);
    windowMenuOpen_ = true;
    connect(menu, &QMenu::aboutToHide, this, [this] { windowMenuOpen_ = false; });
    menu->popup(globalPoint);
}

void SkinnedWindow::beginDragByHand(FrameHit what)
{
    QWidget *w = window_;
    if (w && drag_.begin(w, what, QCursor::pos())) {
        mouse_.beginDrag(what);
        w->grabMouse();
    }
}

}  // namespace qasp::skin
