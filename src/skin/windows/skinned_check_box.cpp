#include "skin/windows/skinned_check_box.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/control_states.h"
#include "skin/windows/skin_marks.h"

#include <QCheckBox>
#include <QPainter>

namespace qasp::skin {

void SkinnedCheckBox::attached()
{
    transparent_ = IsMarkedTransparent(control()) || skinData()->Has(xoTransparent);
    trackHover(true);
}

const QImage &SkinnedCheckBox::glyphs() const
{
    return model().Buttons.CheckBitmap;
}

int SkinnedCheckBox::glyphFrames() const
{
    return model().Buttons.CheckButtonFrame;
}

const QImage &SkinnedRadioButton::glyphs() const
{
    return model().Buttons.RadioBitmap;
}

int SkinnedRadioButton::glyphFrames() const
{
    return model().Buttons.RadioButtonFrame;
}

bool SkinnedCheckBox::paintsWhole() const
{
    return !glyphs().isNull();  // without its picture the box paints itself
}

void SkinnedCheckBox::paint(QPainter &p, const QRect &rect)
{
    auto *box = qobject_cast<QAbstractButton *>(control());
    const auto *check = qobject_cast<QCheckBox *>(box);
    const bool indeterminate = check && check->checkState() == Qt::PartiallyChecked;
    const int frames = std::max(glyphFrames(), 1);
    const int frame = CheckGlyphFrame(box->isChecked(), indeterminate, box->isEnabled(), frames);
    if (transparent_)
        fillParent(p, rect);
    else
        fillFace(p, rect);
    const QImage glyph = StateImage(glyphs(), frames, frame);
    const bool glyphRight = box->layoutDirection() == Qt::RightToLeft;
    const int top = rect.top() + (rect.height() - glyph.height()) / 2;
    const int glyphLeft = glyphRight ? rect.right() + 1 - glyph.width() : rect.left();
    p.drawImage(glyphLeft, top, glyph);

    QRect textArea = glyphRight
                         ? QRect(rect.left(), rect.top(), rect.width() - glyph.width() - 2, rect.height())
                         : rect.adjusted(glyph.width() + 2, 0, 0, 0);
    const int flags = Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic
                      | (glyphRight ? Qt::AlignRight : Qt::AlignLeft);
    const QRect textRect = p.fontMetrics().boundingRect(textArea, flags, box->text());
    p.setPen(
        box->palette().color(box->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textArea, flags, box->text());
    if (box->hasFocus() && !box->text().isEmpty())
        drawFocusRect(p, textRect);
}

}  // namespace qasp::skin
