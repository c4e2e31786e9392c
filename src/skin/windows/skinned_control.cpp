#include "skin/windows/skinned_control.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skinned_control_registry.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace qasp::skin {

SkinnedControl::SkinnedControl(QWidget *control) : control_(control)
{
    connect(control, &QObject::destroyed, this, [this] {
        state_ = AttachState::Dead;
        painting_ = false;
    });
}

SkinnedControl::~SkinnedControl()
{
    if (state_ == AttachState::Attached)
        detach();
    if (registry_)
        registry_->remove(this);
}

void SkinnedControl::attach(SkinnedControlRegistry *registry, SkinData *skinData, bool withBackground)
{
    if (state_ == AttachState::Attached || !control_)
        return;
    formControl_ = true;
    withBackground_ = withBackground;
    attachTo(registry, skinData);
}

void SkinnedControl::attachInDialog(SkinnedControlRegistry *registry, SkinData *skinData)
{
    if (state_ == AttachState::Attached || !control_)
        return;
    formControl_ = false;
    attachTo(registry, skinData);
}

void SkinnedControl::attachTo(SkinnedControlRegistry *registry, SkinData *skinData)
{
    registry_ = registry;
    skinData_ = skinData;
    control_->installEventFilter(this);
    registry->add(this);
    takingBackground();
    if (withBackground_)
        saveAndTakeBackground();
    state_ = AttachState::Attached;
    attached();
    control_->update();
}

void SkinnedControl::saveAndTakeBackground()
{
    QWidget *w = control_;
    paletteWasSet_ = w->testAttribute(Qt::WA_SetPalette);
    savedPalette_ = w->palette();
    savedAutoFill_ = w->autoFillBackground();
    w->setPalette(paletteWithFace());
}

QPalette SkinnedControl::paletteWithFace() const
{
    // Only the background role is the control's own: every other role keeps
    // following the window's skin palette, through later skin changes too.
    QPalette palette = paletteWasSet_ ? savedPalette_ : QPalette();
    palette.setColor(control_->backgroundRole(), faceColour());
    return palette;
}

void SkinnedControl::detach()
{
    if (state_ != AttachState::Attached)
        return;
    state_ = AttachState::Detached;
    if (QWidget *w = control_) {
        detaching();
        w->removeEventFilter(this);
        trackHover(false);
        if (withBackground_) {
            w->setPalette(paletteWasSet_ ? savedPalette_ : QPalette());
            w->setAutoFillBackground(savedAutoFill_);
        }
        backgroundGivenBack();
        w->update();
    }
}

void SkinnedControl::updateFromSkin()
{
    if (withBackground_ && control_)
        control_->setPalette(paletteWithFace());
    repaint();
}

SkinData *SkinnedControl::skinData() const
{
    return skinData_;
}

const SkinModel &SkinnedControl::model() const
{
    return skinData_->Model();
}

void SkinnedControl::repaint()
{
    if (control_)
        control_->update();
}

void SkinnedControl::trackHover(bool on)
{
    QWidget *w = control_;
    if (!w)
        return;
    if (on && !hoverChanged_) {
        savedHover_ = w->testAttribute(Qt::WA_Hover);
        w->setAttribute(Qt::WA_Hover, true);
        hoverChanged_ = true;
    } else if (!on && hoverChanged_) {
        w->setAttribute(Qt::WA_Hover, savedHover_);
        hoverChanged_ = false;
    }
}

bool SkinnedControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != control_ || state_ != AttachState::Attached)
        return false;
    if (event->type() == static_cast<QEvent::Type>(kSwitchPaintingEvent)) {
        painting_ = static_cast<SkinMessage *>(event)->WParam > 0;
        if (painting_)
            repaint();
        else
            control_->update();  // the control paints itself again
        return true;
    }
    if (!painting_ || !skinData_ || skinData_->NoSkin())
        return AnswerSkinQuery(event);
    if (beforeEvent(event))
        return true;
    if (event->type() == QEvent::Paint && paintsWhole()) {
        paintOffScreen();
        return true;
    }
    if (event->type() == QEvent::Paint && paintsOver()) {
        // The control paints itself first; the skin goes over it.
        static_cast<QObject *>(control_.data())->event(event);
        QPainter painter(control_);
        paint(painter, control_->rect());
        afterEvent(event);
        return true;
    }
    afterEvent(event);
    return false;
}

void SkinnedControl::paintOffScreen()
{
    QWidget *w = control_;
    const qreal ratio = w->devicePixelRatioF();
    QPixmap buffer(w->size() * ratio);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(Qt::transparent);
    {
        QPainter p(&buffer);
        p.setFont(w->font());
        paint(p, w->rect());
    }
    QPainter(w).drawPixmap(0, 0, buffer);
}

bool SkinnedControl::beforeEvent(QEvent *event)
{
    return AnswerSkinQuery(event);
}

void SkinnedControl::afterEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange: repaint(); break;
    default: break;
    }
}

void SkinnedControl::paint(QPainter &, const QRect &) {}

QColor SkinnedControl::faceColour() const
{
    return skinData_ ? ToQColor(skinData_->Model().Colours.ButtonFace) : QColor();
}

void SkinnedControl::fillFace(QPainter &painter, const QRect &rect) const
{
    painter.fillRect(rect, faceColour());
}

void SkinnedControl::fillParent(QPainter &painter, const QRect &rect) const
{
    const QWidget *parent = control_ ? control_->parentWidget() : nullptr;
    painter.fillRect(rect, parent ? parent->palette().color(parent->backgroundRole()) : faceColour());
}

void SkinnedControl::drawFocusRect(QPainter &painter, const QRect &textRect) const
{
    if (!skinData_ || skinData_->Has(xoNoFocusRect))
        return;
    QStyleOptionFocusRect option;
    option.initFrom(control_);
    option.rect = textRect.adjusted(-2, -1, 2, 1).intersected(control_->rect());
    control_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, control_);
}

}  // namespace qasp::skin
