#include "skin/windows/skinned_edit.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace qasp::skin {

void SkinnedLineEdit::paint(QPainter &p, const QRect &rect)
{
    const auto *edit = qobject_cast<QLineEdit *>(control());
    if (edit && !edit->hasFrame())
        return;
    // Outer line in the skin's shadow colour, inner one in the edit's own
    // background, over the style's frame.
    p.setPen(ToQColor(model().Colours.ButtonShadow));
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.setPen(control()->palette().color(
        control()->backgroundRole() == QPalette::Window ? QPalette::Base : control()->backgroundRole()));
    p.drawRect(rect.adjusted(1, 1, -2, -2));
}

int SkinnedComboBox::buttonImage(bool enabled, bool open, bool hot, bool focused)
{
    if (!enabled)
        return 3;
    if (open)
        return 2;
    if (focused || hot)
        return 4;
    return 1;
}

void SkinnedComboBox::attached()
{
    trackHover(true);
}

void SkinnedComboBox::paint(QPainter &p, const QRect &rect)
{
    auto *box = qobject_cast<QComboBox *>(control());
    const SkinModel &m = model();
    if (!box || !m.ComboButton || m.ComboButton->Bitmap.isNull())
        return;
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const QRect field =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    const bool rightToLeft = box->layoutDirection() == Qt::RightToLeft;
    const int buttonWidth = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box) + 2;
    const QRect button =
        rightToLeft ? QRect(rect.left() + 2, rect.top() + 2, buttonWidth, rect.height() - 4)
                    : QRect(rect.right() - 1 - buttonWidth, rect.top() + 2, buttonWidth, rect.height() - 4);
    const int image = buttonImage(box->isEnabled(), box->view() && box->view()->isVisible(),
                                  box->underMouse(), box->hasFocus());
    p.save();
    // The text area stays as the box painted it.
    p.setClipRegion(QRegion(rect) - QRegion(field));
    if (m.SunkEdge)
        DrawSkinElement(p, *m.SunkEdge, 1, rect);
    p.restore();
    p.fillRect(button, ToQColor(m.Colours.ButtonFace));
    QImage picture = StateImage(m.ComboButton->Bitmap, m.ComboButton->FrameCount, image);
    if (rightToLeft)
        picture = picture.mirrored(true, false);
    DrawNineSlice(p, button, picture, m.ComboButton->Margins, m.ComboButton->Trans != 0, false);
    if (m.ExtraImages)
        DrawSkinGlyph(p, *m.ExtraImages, image, button);
}

}  // namespace qasp::skin
