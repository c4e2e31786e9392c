#include "skin/windows/skinned_button.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/control_states.h"
#include "skin/windows/skin_marks.h"

#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace qasp::skin {
namespace {

// The caption colour the skin gives a button image, or the palette's.
QColor CaptionColour(const SkinButton &b, int frame, const QWidget *w)
{
    if (frame == 3)
        return w->palette().color(QPalette::Disabled, QPalette::ButtonText);
    if (frame == 2 && b.HasPressedColour2)
        return ToQColor(b.PressedColour2);
    if ((frame == 4 || frame == 5) && b.HasMouseOverColour2)
        return ToQColor(b.MouseOverColour2);
    if (frame == 1 && b.HasNormalColour2)
        return ToQColor(b.NormalColour2);
    return w->palette().color(QPalette::ButtonText);
}

}  // namespace

QString SkinnedButton::captionOf(const QString &text)
{
    QString caption = text;
    caption.replace(QLatin1String("||"), QLatin1String("\n"));
    return caption;
}

void SkinnedButton::attached()
{
    transparent_ = IsMarkedTransparent(control()) || skinData()->Has(xoTransparent);
    trackHover(true);
}

bool SkinnedButton::paintsWhole() const
{
    return !model().Buttons.Bitmap.isNull();
}

void SkinnedButton::paint(QPainter &p, const QRect &rect)
{
    auto *button = qobject_cast<QAbstractButton *>(control());
    const SkinButton &picture = model().Buttons;
    const bool pressed = button->isDown() || (button->isCheckable() && button->isChecked());
    const int frame = ButtonFrame(button->isEnabled(), pressed, button->underMouse(), button->hasFocus());
    if (transparent_)
        fillParent(p, rect);
    else
        fillFace(p, rect);
    DrawSkinElement(p, picture, frame, rect);

    const QString caption = captionOf(button->text());
    const QRect inner = rect.adjusted(2, 2, -2, -2);
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    QRect textRect = p.fontMetrics().boundingRect(inner, flags, caption);
    const QIcon icon = button->icon();
    if (!icon.isNull()) {
        // A bitmap button: the picture before the caption, the two centred.
        const QSize size = button->iconSize();
        const int gap = caption.isEmpty() ? 0 : 4;
        const int total = size.width() + gap + (caption.isEmpty() ? 0 : textRect.width());
        const int left = inner.left() + (inner.width() - total) / 2;
        const QIcon::Mode mode = button->isEnabled() ? QIcon::Normal : QIcon::Disabled;
        p.drawPixmap(left, inner.top() + (inner.height() - size.height()) / 2, icon.pixmap(size, mode));
        textRect.moveLeft(left + size.width() + gap);
    }
    p.setPen(CaptionColour(picture, frame, button));
    p.drawText(textRect, flags, caption);
    if (button->hasFocus() && !caption.isEmpty())
        drawFocusRect(p, textRect);
}

void SkinnedToolButton::attached()
{
    trackHover(true);
}

bool SkinnedToolButton::paintsWhole() const
{
    return !model().Buttons.Bitmap.isNull();
}

void SkinnedToolButton::paint(QPainter &p, const QRect &rect)
{
    auto *button = qobject_cast<QToolButton *>(control());
    const SkinButton &picture = model().Buttons;
    const bool down = button->isDown() || button->isChecked();
    const int image = ToolButtonImage(button->isEnabled(), down, button->underMouse(), button->hasFocus());
    if (image > 0)
        DrawSkinElement(p, picture, image, rect.adjusted(1, 1, -1, -1));

    const QSize iconSize = button->iconSize();
    const QIcon::Mode mode = button->isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const Qt::ToolButtonStyle style = button->toolButtonStyle();
    const bool withIcon = !button->icon().isNull() && style != Qt::ToolButtonTextOnly;
    const bool withText = style != Qt::ToolButtonIconOnly || button->icon().isNull();
    const QString text = withText ? button->text() : QString();
    const int gap = withIcon && !text.isEmpty() ? 4 : 0;
    const int textWidth = text.isEmpty() ? 0 : p.fontMetrics().horizontalAdvance(QString(text).remove('&'));
    const int total = (withIcon ? iconSize.width() : 0) + gap + textWidth;
    int x = rect.left() + (rect.width() - total) / 2;
    if (withIcon) {
        p.drawPixmap(x, rect.top() + (rect.height() - iconSize.height()) / 2,
                     button->icon().pixmap(iconSize, mode));
        x += iconSize.width() + gap;
    }
    if (!text.isEmpty()) {
        p.setPen(CaptionColour(picture, button->isEnabled() ? (image == 0 ? 1 : image) : 3, button));
        p.drawText(QRect(x, rect.top(), textWidth + 2, rect.height()),
                   Qt::AlignVCenter | Qt::TextShowMnemonic, text);
    }
}

}  // namespace qasp::skin
