#include "skin/windows/skinned_edit.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skinned_scroll_bar.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
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
    auto *box = qobject_cast<QComboBox *>(control());
    if (!box || !skinData() || (skinData()->SkinControls & (1u << xcScrollbar)) == 0)
        return;
    // The list lives in a popup window of its own, which no window painter reaches.
    QScrollBar *bar = box->view() ? box->view()->verticalScrollBar() : nullptr;
    if (!bar || SendSkinMessage(bar, kSkinQueryEvent) == 1)
        return;
    listBar_ = new SkinnedScrollBar(bar);
    listBar_->setParent(this);
    listBar_->attachInDialog(registry(), skinData());
}

void SkinnedComboBox::detaching()
{
    delete listBar_.data();
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
    const int image = buttonImage(box->isEnabled(), box->view() && box->view()->isVisible(),
                                  box->underMouse(), box->hasFocus());
    const SkinMargins &margins = m.ComboButton->Margins;
    if (m.ComboButton->Style == 2 && m.SunkEdge) {
        // Style 2: each state image is the whole box, edge and button, with
        // a transparent middle; the mirrored strip is kept in SunkEdge.
        const int buttonWidth = margins.Right - 2;
        const QRect button =
            rightToLeft
                ? QRect(rect.left() + 2, rect.top() + 2, buttonWidth, rect.height() - 4)
                : QRect(rect.right() - 1 - buttonWidth, rect.top() + 2, buttonWidth, rect.height() - 4);
        p.save();
        // The text area stays as the box painted it.
        p.setClipRegion(QRegion(rect) - QRegion(field));
        p.fillRect(button, ToQColor(m.Colours.ButtonFace));
        const SkinElement &strip = rightToLeft ? *m.SunkEdge : *m.ComboButton;
        DrawNineSlice(p, rect, StateImage(strip.Bitmap, strip.FrameCount, image), strip.Margins, false);
        p.restore();
        return;
    }
    // A skin without a sunk edge: the button picture alone, at the style's
    // drop-button width, with the arrow glyph on top.
    const QRect button =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box);
    p.fillRect(button, ToQColor(m.Colours.ButtonFace));
    QImage picture = StateImage(m.ComboButton->Bitmap, m.ComboButton->FrameCount, image);
    if (rightToLeft)
        picture = picture.mirrored(true, false);
    DrawNineSlice(p, button, picture, margins, TilesMiddle(*m.ComboButton));
    if (m.ExtraImages)
        DrawSkinGlyph(p, *m.ExtraImages, image, button);
}

}  // namespace qasp::skin
