#include "skin/windows/skinned_window.h"

#include "skin/data/skin_data.h"
#include "skin/windows/frame_drawing.h"
#include "skin/windows/skinned_control.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/window_rule.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QPainter>
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
    return (layout && layout->sizeConstraint() == QLayout::SetFixedSize) ||
           (w->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
}

int FrameKindOf(const QWidget *w, bool sizable, bool systemDialog)
{
    const Qt::WindowFlags flags = w->windowFlags();
    if ((flags & Qt::FramelessWindowHint) ||
        ((flags & Qt::CustomizeWindowHint) && !(flags & Qt::WindowTitleHint)))
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

}  // namespace

SkinnedWindow::SkinnedWindow(QWidget *window, QWidget *owner)
    : QObject(owner), FormControl(owner), window_(window)
{
    if (qGuiApp)
        DoubleClickTime = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    Timer.setInterval(250);
    connect(&Timer, &QTimer::timeout, this, &SkinnedWindow::OnTimer);
    connect(window, &QObject::destroyed, this, [this] {
        State = kDestroying;
        DetachOnDestroy();
        State = kDead;
        if (!parent())
            deleteLater();  // a system dialog's painter has no owner to free it
    });
}

SkinnedWindow::~SkinnedWindow()
{
    HoverObject = nullptr;
    SysButtons.clear();
    delete SkinnedSystemMenu;
    if (SkinManager *manager = SkinManager::instance())
        manager->forgetWindow(this);
}

void SkinnedWindow::AttachForm(SkinData *skinData, QWidget *form)
{
    FormControl = form;
    AttachWindow(skinData);
}

void SkinnedWindow::AttachWindow(SkinData *skinData)
{
    if (attached_ || !window_)
        return;
    if (SkinManagerLink *manager = SkinManagerLink::instance())
        manager->setState(SkinManagerState::Running);
    skinData_ = skinData;
    SkinsFrame = skinData->Has(xcMainMenu);
    QWidget *w = window_;
    RightToLeft = w->layoutDirection() == Qt::RightToLeft;
    IsSystemDialog = IsSystemDialogClass(QString::fromLatin1(w->metaObject()->className()));
    Capabilities = CapabilitiesOf(w);
    ReadWindowState();
    Sizable = !IsFixedSize(w);
    if (!Sizable)
        Capabilities &= ~kMaximiseBox;
    FrameKind = FrameKindOf(w, Sizable, IsSystemDialog);
    w->installEventFilter(this);
    attached_ = true;

    saved_.paletteSet = w->testAttribute(Qt::WA_SetPalette);
    saved_.palette = w->palette();
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(skinData->Model().Colours.ButtonFace));
    w->setPalette(palette);

    if (!SkinsFrame) {
        State = kReady;
        return;
    }
    CaptionFont = QGuiApplication::font();
    RecalcMetrics();
    ApplyFrame(true);
}

void SkinnedWindow::ApplyFrame(bool on)
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
        if (FrameKind != kNoCaption)
            SetWindowFlagsInPlace(w, saved_.flags | Qt::FramelessWindowHint);
        KeepClientSize(FrameMetrics{}, Metrics);
        if (w->isVisible() && outer != w->pos())
            w->move(outer);
        w->setMouseTracking(true);
        RegionSize = QSize();
        UpdateRegion();
        return;
    }
    KeepClientSize(applied_, FrameMetrics{});
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

void SkinnedWindow::KeepClientSize(const FrameMetrics &from, const FrameMetrics &to)
{
    QWidget *w = window_;
    const QSize extra = to.Extra();
    const QSize client = w->size() - from.Extra();
    w->setContentsMargins(saved_.margins + to.Margins());
    applied_ = to;
    // A fixed-size window is fixed at its client size plus the frame.
    if (saved_.minimum == saved_.maximum && AtMost(saved_.minimum, QWIDGETSIZE_MAX - 1000))
        w->setFixedSize(saved_.minimum + extra);
    if (WindowState != kNormalState)
        return;  // a maximised or minimised window keeps the size it has
    w->resize(client + extra);
}

void SkinnedWindow::FinishSetup()
{
    if (!window_ || !attached_)
        return;
    QWidget *w = window_;
    // Sizes settle when the window has been shown: a message box fixes
    // its size only then.
    Sizable = !IsFixedSize(w);
    if (!Sizable)
        Capabilities &= ~kMaximiseBox;
    IconBitmap = skinData_ ? skinData_->AppIconBitmap : QImage();
    if (FormControl)
        ClassifyControls(w);
    else
        ClassifyChildWindows(w);
    if (State == kNew) {
        State = kSizingAtSetup;
        if (IsSystemDialog && SkinsFrame)
            WidenForCaption();
        State = kReady;
    }
    ReadWindowState();
    IsActive = LooksActive();
    if (IsActive)
        Timer.start();
    UpdateRegion();
    RepaintFrame();
}

void SkinnedWindow::WidenForCaption()
{
    if (FrameKind == kNoCaption)
        return;
    const SkinTitle &title = skinData_->Model().Title;
    const int text = QFontMetrics(CaptionFont).horizontalAdvance(TextPrefix + CaptionText() + TextSuffix);
    const int needed = title.Margins.Left + text + title.Margins.Right;
    QWidget *w = window_;
    if (needed <= w->width())
        return;
    ++widenings_;
    if (w->minimumWidth() == w->maximumWidth())
        w->setFixedWidth(needed);
    else
        w->resize(needed, w->height());
}

void SkinnedWindow::ReadWindowState()
{
    const Qt::WindowStates s = window_ ? window_->windowState() : Qt::WindowNoState;
    WindowState = s & Qt::WindowMinimized                              ? kMinimisedState
                  : s & (Qt::WindowMaximized | Qt::WindowFullScreen) ? kMaximisedState
                                                                      : kNormalState;
}

void SkinnedWindow::RecalcMetrics()
{
    if (!skinData_ || skinData_->NoSkin())
        return;
    const SkinModel &model = skinData_->Model();
    Metrics = RecalcFrameMetrics(model, FrameKind);
    HoverObject = nullptr;
    SysButtons.clear();
    for (const auto &description : model.CaptionButtons)
        SysButtons.push_back(std::make_unique<CaptionButton>(this, description.get(), skinData_->AppIconBitmap));
    IconBitmap = skinData_->AppIconBitmap;
}

void SkinnedWindow::DropCachedPieces()
{
    // The skin's model is about to go: nothing may point into it.
    HoverObject = nullptr;
    SysButtons.clear();
}

void SkinnedWindow::UpdateRegion()
{
    if (State == kDead || !window_ || !SkinsFrame || !skinData_)
        return;
    QWidget *w = window_;
    const QSize size = w->size();
    if (size.isEmpty() || (size == RegionSize && State != kRefreshing))
        return;
    Region = BuildFrameRegion(skinData_->Model(), applied_, size, FrameKind);
    RegionSize = size;
    w->setMask(Region);
}

void SkinnedWindow::RefreshAfterSkinChange()
{
    if (!window_ || !attached_ || !skinData_)
        return;
    QWidget *w = window_;
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(skinData_->Model().Colours.ButtonFace));
    w->setPalette(palette);
    for (const QPointer<SkinnedControl> &control : SkinControlList)
        if (control)
            control->updateFromSkin();
    State = kRefreshing;
    if (SkinsFrame) {
        KeepClientSize(applied_, Metrics);
        UpdateRegion();
    }
    State = kReady;
    w->update();
}

void SkinnedWindow::Detach()
{
    if (!attached_)
        return;
    delete SkinnedSystemMenu;
    SkinnedSystemMenu = nullptr;
    Timer.stop();
    drag_.End();
    HoverObject = nullptr;
    attached_ = false;
    ReleaseControls();
    if (QWidget *w = window_) {
        w->removeEventFilter(this);
        if (State != kDestroying)
            w->setPalette(saved_.paletteSet ? saved_.palette : QPalette());
        if (SkinsFrame && State != kDestroying)
            ApplyFrame(false);
        w->update();
    }
    Region = QRegion();
    RegionSize = QSize();
}

void SkinnedWindow::DetachOnDestroy()
{
    // The window is gone: only the painter's own pieces are let go; the
    // controls' objects go with their controls.
    SkinControlList.clear();
    Timer.stop();
    drag_.End();
    HoverObject = nullptr;
    attached_ = false;
    delete SkinnedSystemMenu;
    SkinnedSystemMenu = nullptr;
    Region = QRegion();
}

bool SkinnedWindow::LooksActive() const
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

void SkinnedWindow::OnTimer()
{
    if (Busy || !window_ || !HoverObject)
        return;
    if (!HoverObject->Bounds.contains(window_->mapFromGlobal(QCursor::pos())))
        HoverObject->MouseLeave();
}

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window_)
        return false;
    if (AnswerSkinQuery(event))
        return true;
    switch (static_cast<int>(event->type())) {
    case kFinishSetupEvent:
        FinishSetup();
        return true;
    case kRefreshSkinEvent:
        RefreshAfterSkinChange();
        return true;
    case kRepaintFrameEvent:
        RepaintFrame();
        return true;
    default:
        break;
    }
    return SkinsFrame && FrameEvent(event);
}

bool SkinnedWindow::FrameEvent(QEvent *event)
{
    QWidget *w = window_;
    switch (event->type()) {
    case QEvent::Paint: {
        if ((State != kReady && State != kRefreshing) || FrameKind == kNoCaption)
            return false;
        // The window paints itself first; the frame goes over its margins.
        static_cast<QObject *>(w)->event(event);
        QPainter painter(w);
        PaintFrame(painter);
        return true;
    }
    case QEvent::Resize:
        UpdateRegion();
        // A dialog that sizes itself (a message box does, whenever its
        // layout changes) may shrink below its caption again.
        if (IsSystemDialog && State == kReady && widenings_ < 4)
            QTimer::singleShot(0, this, [this] { WidenForCaption(); });
        return false;
    case QEvent::WindowStateChange:
        ReadWindowState();
        if (HoverObject)
            HoverObject->MouseLeave();
        RepaintFrame();
        return false;
    case QEvent::ActivationChange:
        IsActive = LooksActive();
        if (IsActive)
            Timer.start();
        else
            Timer.stop();
        RepaintFrame();
        return false;
    case QEvent::WindowTitleChange:
    case QEvent::ModifiedChange:
    case QEvent::WindowIconChange:
        RepaintFrame();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return MouseEvent(static_cast<QMouseEvent *>(event));
    case QEvent::Leave:
        if (HoverObject)
            HoverObject->MouseLeave();
        SetCursorFor(FrameHit::Client);
        return false;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier) {
            OpenSystemMenu(w->mapToGlobal(w->contentsRect().topLeft()));
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

}  // namespace qasp::skin
