#include "skin/windows/skinned_tab_buttons.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace qasp::skin {

SkinnedTabButtons::SkinnedTabButtons(QTabBar *bar, SkinData *skinData, QObject *parent)
    : QObject(parent),
      bar_(bar),
      skinData_(skinData)
{
}

SkinnedTabButtons::~SkinnedTabButtons()
{
    release();
}

bool SkinnedTabButtons::isScrollButton(const QAbstractButton *button)
{
    const QString name = button->objectName();
    return qobject_cast<const QToolButton *>(button)
           && (name == QLatin1String("ScrollLeftButton") || name == QLatin1String("ScrollRightButton"));
}

bool SkinnedTabButtons::isCloseButton(const QAbstractButton *button)
{
    return !qobject_cast<const QToolButton *>(button)
           && QLatin1String(button->metaObject()->className()).endsWith(QLatin1String("CloseButton"));
}

void SkinnedTabButtons::watchButtons()
{
    if (!bar_)
        return;
    for (QAbstractButton *button : bar_->findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly)) {
        if (!isScrollButton(button) && !isCloseButton(button))
            continue;
        if (std::find(buttons_.begin(), buttons_.end(), button) != buttons_.end())
            continue;
        button->installEventFilter(this);
        buttons_.emplace_back(button);
        button->update();
    }
}

void SkinnedTabButtons::release()
{
    for (const QPointer<QAbstractButton> &button : buttons_)
        if (button) {
            button->removeEventFilter(this);
            button->update();
        }
    buttons_.clear();
}

bool SkinnedTabButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || !skinData_ || skinData_->NoSkin())
        return false;
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!button)
        return false;
    QPainter p(button);
    if (isScrollButton(button))
        paintScrollButton(p, button);
    else
        paintCloseMark(p, button);
    return true;
}

void SkinnedTabButtons::paintCloseMark(QPainter &p, QAbstractButton *button) const
{
    const SkinColourTable &c = skinData_->Model().Colours;
    const QRect box = button->rect().adjusted(1, 1, -2, -2);
    const bool hot = button->isEnabled() && button->underMouse();
    if (hot) {
        // A raised box under the mouse, sunk while pressed.
        p.fillRect(box, ToQColor(c.ButtonFace));
        DrawBevel(p, box, ToQColor(c.ButtonHilight), ToQColor(c.ButtonShadow), button->isDown());
    }
    const QColor mark = ToQColor(button->isEnabled() ? c.ButtonText : c.ButtonShadow);
    const int half = std::max(std::min(box.width(), box.height()) / 2 - 3, 2);
    const QPointF centre = QRectF(box).center();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(mark, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void SkinnedTabButtons::paintScrollButton(QPainter &p, QAbstractButton *button) const
{
    const SkinModel &m = skinData_->Model();
    const SkinColourTable &c = m.Colours;
    const bool second = button->objectName() == QLatin1String("ScrollRightButton");
    const QRect rect = button->rect();
    p.fillRect(rect, ToQColor(c.ButtonFace));
    const SkinBorder *picture = m.UpDownHorz.get();
    if (!picture || picture->Bitmap.isNull())
        return;
    // Images 1-4 the left button, 5-8 the right one: plain, hot, pressed, disabled.
    int image = second ? 5 : 1;
    if (!button->isEnabled())
        image += 3;
    else if (button->isDown())
        image += 2;
    else if (button->underMouse())
        image += 1;
    DrawSkinElement(p, *picture, image, rect);
    // The glyphs come in the same eight states as the buttons.
    if (!picture->Bitmap2.isNull())
        DrawFittedPicture(p, StateImage(picture->Bitmap2, picture->FrameCount, image), rect);
}

}  // namespace qasp::skin
