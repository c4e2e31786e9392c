// The mouse and the keyboard in a skinned frame: caption buttons, dragging
// the caption, sizing at the borders, double clicks and the system menu.
#include "skin/windows/skinned_window.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_manager.h"

#include <QDateTime>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace qasp::skin {
namespace {

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

FrameHit SkinnedWindow::HitTest(QPoint point) const
{
    if (!window_)
        return FrameHit::Client;
    return FrameHitTest(point, window_->size(), applied_, Sizable, WindowState);
}

FrameObject *SkinnedWindow::HitObject(QPoint point) const
{
    std::vector<SysButtonSlot> buttons;
    for (const auto &button : SysButtons)
        buttons.push_back(button->Slot());
    const int i = HitSysButton(buttons, point);
    return i < 0 ? nullptr : SysButtons[static_cast<size_t>(i)].get();
}

void SkinnedWindow::SetCursorFor(FrameHit hit)
{
    QWidget *w = window_;
    if (IsSizingHit(hit))
        w->setCursor(CursorFor(hit));
    else if (saved_.cursorSet)
        w->setCursor(saved_.cursor);
    else
        w->unsetCursor();
}

bool SkinnedWindow::MouseEvent(QMouseEvent *event)
{
    QWidget *w = window_;
    const QPoint point = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    if (drag_.Active()) {
        if (event->type() == QEvent::MouseMove) {
            drag_.Follow(global);
        } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
            drag_.End();
            if (QWidget::mouseGrabber() == w)
                w->releaseMouse();
        }
        return true;
    }
    const FrameHit hit = HitTest(point);
    FrameObject *object = HitObject(point);
    if (hit == FrameHit::Client && !object) {
        if (HoverObject)
            HoverObject->MouseLeave();
        if (event->type() == QEvent::MouseMove)
            SetCursorFor(hit);
        return false;  // the window's own content
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        SetCursorFor(object ? FrameHit::Caption : hit);
        if (!IsActive)
            return true;
        if (object)
            object->MouseEnter();
        else if (HoverObject)
            HoverObject->MouseLeave();
        return true;
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::RightButton) {
            if (hit == FrameHit::Caption)
                OpenSystemMenu(global);
            return true;
        }
        if (event->button() != Qt::LeftButton)
            return true;
        if (object) {
            if (!IsActive)
                w->activateWindow();
            object->MouseDown();
            return true;
        }
        // A maximised window's caption does not drag the window.
        if ((hit == FrameHit::Caption && WindowState == kNormalState) || IsSizingHit(hit))
            drag_.Begin(w, hit, global);
        return true;
    case QEvent::MouseButtonRelease: {
        auto *button = dynamic_cast<CaptionButton *>(HoverObject);
        if (event->button() == Qt::LeftButton && button && button == object &&
            button->ButtonState == FrameObject::kPressed) {
            button->MouseUp();
            RunButtonAction(button->Description->Action, global);
        } else if (HoverObject && HoverObject->ButtonState == FrameObject::kPressed) {
            HoverObject->MouseLeave();
        }
        return true;
    }
    case QEvent::MouseButtonDblClick:
        if (event->button() != Qt::LeftButton)
            return true;
        if (auto *button = dynamic_cast<CaptionButton *>(object); button && button->IsIcon()) {
            Timer.stop();
            PostClose(w);
        } else if (!object && hit == FrameHit::Caption) {
            if (WindowState != kNormalState)
                PostToWindow(w, &QWidget::showNormal);
            else if (Capabilities & kMaximiseBox)
                PostToWindow(w, &QWidget::showMaximized);
        }
        return true;
    default:
        return false;
    }
}

void SkinnedWindow::RunButtonAction(int action, QPoint globalPoint)
{
    QWidget *w = window_;
    if (!w)
        return;
    switch (action) {
    case 0:
        if (!(w->windowFlags() & Qt::CustomizeWindowHint) || (w->windowFlags() & Qt::WindowCloseButtonHint)) {
            Timer.stop();
            PostClose(w);
        }
        break;
    case 1:
    case 22:
        if (WindowState == kMaximisedState) {
            PostToWindow(w, &QWidget::showNormal);
        } else {
            WindowState = kMaximisedState;
            PostToWindow(w, &QWidget::showMaximized);
        }
        break;
    case 2:
    case 23:
        PostToWindow(w, WindowState == kMinimisedState ? &QWidget::showNormal : &QWidget::showMinimized);
        break;
    case 3:
    case 11:
    case 12:
        OpenSystemMenu(globalPoint + QPoint(1, 1));
        break;
    case 7: case 8: case 9: case 60: case 61: case 62:
        break;  // buttons of a maximised MDI child: this program has no MDI frames
    default:
        PostSkinMessage(w, kButtonActionEvent, action, 0);
        break;
    }
}

void SkinnedWindow::OpenSystemMenu(QPoint globalPoint)
{
    QWidget *w = window_;
    if (!w)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - LastClickTime < DoubleClickTime && HoverObject) {
        // The icon was clicked twice.
        Timer.stop();
        PostClose(w);
        return;
    }
    if (SkinManager *manager = SkinManager::instance())
        manager->windowMenuOpening();
    LastClickTime = now;
    QMenu *menu = BuildSystemMenu();
    Busy = true;
    connect(menu, &QMenu::aboutToHide, this, [this] { Busy = false; });
    menu->popup(globalPoint);
}

QMenu *SkinnedWindow::BuildSystemMenu()
{
    delete SkinnedSystemMenu;
    QWidget *w = window_;
    auto *menu = new QMenu(w);
    menu->setProperty("Tag", 33333);
    SkinnedSystemMenu = menu;
    const QImage glyphs = skinData_ ? skinData_->MenuImages : QImage();
    const auto add = [&](const QString &text, int image, bool enabled, auto slot) {
        QAction *action = menu->addAction(text);
        if (image >= 0 && !glyphs.isNull())
            action->setIcon(QPixmap::fromImage(WithMagentaTransparent(StateImage(glyphs, 4, image + 1))));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, w, slot);
        return action;
    };
    const bool normal = WindowState == kNormalState;
    const bool maximised = WindowState == kMaximisedState;
    const bool minimised = WindowState == kMinimisedState;
    add(QStringLiteral("还原(&R)"), 0, !normal, [w] { w->showNormal(); });
    add(QStringLiteral("移动(&M)"), -1, !maximised, [this, w] {
        if (drag_.Begin(w, FrameHit::Caption, QCursor::pos()))
            w->grabMouse();
    });
    add(QStringLiteral("大小(&S)"), -1, !maximised && Sizable, [this, w] {
        if (drag_.Begin(w, FrameHit::BottomRight, QCursor::pos()))
            w->grabMouse();
    });
    add(QStringLiteral("最小化(&N)"), 2, !minimised && (Capabilities & kMinimiseBox), [w] { w->showMinimized(); });
    add(QStringLiteral("最大化(&X)"), 1, !maximised && (Capabilities & kMaximiseBox), [w] { w->showMaximized(); });
    menu->addSeparator();
    add(QStringLiteral("关闭(&C)\tAlt+F4"), 3, true, [w] { w->close(); });
    return menu;
}

}  // namespace qasp::skin
