#include "skin/windows/skin_control.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/win_skin_form.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace qasp::skin {

TSkinControl::TSkinControl(QWidget *control) : window_(control)
{
    connect(control, &QObject::destroyed, this, [this] {
        State = kDead;
        Painting = false;
    });
}

TSkinControl::~TSkinControl()
{
    if (State == kAttached)
        Detach();
    if (Owner)
        Owner->RemoveSkinControl(this);
}

void TSkinControl::AttachControl(TWinSkinForm *owner, TSkinData *skinData, bool withBackground)
{
    if (State == kAttached || !window_)
        return;
    Owner = owner;
    SkinData = skinData;
    Control = window_;
    WithBackground = withBackground;
    window_->installEventFilter(this);
    owner->AddSkinControl(this);
    if (withBackground)
        SaveAndTakeBackground();
    State = kAttached;
    Attached();
    window_->update();
}

void TSkinControl::AttachWindow(TWinSkinForm *owner, TSkinData *skinData)
{
    if (State == kAttached || !window_)
        return;
    Owner = owner;
    SkinData = skinData;
    Control = nullptr;
    window_->installEventFilter(this);
    owner->AddSkinControl(this);
    State = kAttached;
    Attached();
    window_->update();
}

void TSkinControl::SaveAndTakeBackground()
{
    QWidget *w = window_;
    paletteWasSet_ = w->testAttribute(Qt::WA_SetPalette);
    savedPalette_ = w->palette();
    savedAutoFill_ = w->autoFillBackground();
    QPalette palette = w->palette();
    palette.setColor(w->backgroundRole(), FaceColour());
    w->setPalette(palette);
}

void TSkinControl::Detach()
{
    if (State != kAttached)
        return;
    State = kDetached;
    if (QWidget *w = window_) {
        Detaching();
        w->removeEventFilter(this);
        TrackHover(false);
        if (WithBackground) {
            w->setPalette(paletteWasSet_ ? savedPalette_ : QPalette());
            w->setAutoFillBackground(savedAutoFill_);
        }
        w->update();
    }
}

void TSkinControl::UpdateFromSkin()
{
    if (WithBackground && window_) {
        QPalette palette = window_->palette();
        palette.setColor(window_->backgroundRole(), FaceColour());
        window_->setPalette(palette);
    }
    Repaint();
}

void TSkinControl::Repaint()
{
    if (window_)
        window_->update();
}

void TSkinControl::TrackHover(bool on)
{
    QWidget *w = window_;
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

bool TSkinControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window_ || State != kAttached)
        return false;
    if (event->type() == static_cast<QEvent::Type>(kSwitchPaintingEvent)) {
        Painting = static_cast<SkinMessage *>(event)->WParam > 0;
        if (Painting)
            Repaint();
        else
            window_->update();  // the control paints itself again
        return true;
    }
    if (!Painting || !SkinData || SkinData->NoSkin())
        return AnswerSkinQuery(event);
    if (BeforeMessage(event))
        return true;
    if (event->type() == QEvent::Paint && PaintsWhole()) {
        PaintOffScreen();
        return true;
    }
    if (event->type() == QEvent::Paint && PaintsOver()) {
        // The control paints itself first; the skin goes over it.
        static_cast<QObject *>(window_.data())->event(event);
        QPainter painter(window_);
        Paint(painter, window_->rect());
        AfterMessage(event);
        return true;
    }
    AfterMessage(event);
    return false;
}

void TSkinControl::PaintOffScreen()
{
    QWidget *w = window_;
    const qreal ratio = w->devicePixelRatioF();
    QPixmap buffer(w->size() * ratio);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(Qt::transparent);
    {
        QPainter p(&buffer);
        p.setFont(w->font());
        Paint(p, w->rect());
    }
    QPainter(w).drawPixmap(0, 0, buffer);
}

bool TSkinControl::BeforeMessage(QEvent *event)
{
    return AnswerSkinQuery(event);
}

void TSkinControl::AfterMessage(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
        Repaint();
        break;
    default:
        break;
    }
}

void TSkinControl::Paint(QPainter &, const QRect &) {}

QColor TSkinControl::FaceColour() const
{
    return SkinData ? ToQColor(SkinData->Model().Colours.ButtonFace) : QColor();
}

void TSkinControl::FillFace(QPainter &painter, const QRect &rect) const
{
    painter.fillRect(rect, FaceColour());
}

void TSkinControl::FillParent(QPainter &painter, const QRect &rect) const
{
    const QWidget *parent = window_ ? window_->parentWidget() : nullptr;
    painter.fillRect(rect, parent ? parent->palette().color(parent->backgroundRole()) : FaceColour());
}

void TSkinControl::DrawFocusRect(QPainter &painter, const QRect &textRect) const
{
    if (!SkinData || SkinData->Has(xoNoFocusRect))
        return;
    QStyleOptionFocusRect option;
    option.initFrom(window_);
    option.rect = textRect.adjusted(-2, -1, 2, 1).intersected(window_->rect());
    window_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, window_);
}

}  // namespace qasp::skin
