#include "skin/windows/skin_check_box.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/control_states.h"

#include <QCheckBox>
#include <QPainter>

namespace qasp::skin {

void TSkinCheckBox::Attached()
{
    PaintsAll = Control != nullptr;
    Transparent = Window()->property("Tag").toInt() == 5555 || SkinData->Has(xoTransparent);
    TrackHover(true);
}

const QImage &TSkinCheckBox::Glyphs() const
{
    return SkinData->Model().Buttons.CheckBitmap;
}

int TSkinCheckBox::GlyphFrames() const
{
    return SkinData->Model().Buttons.CheckButtonFrame;
}

const QImage &TSkinRadioButton::Glyphs() const
{
    return SkinData->Model().Buttons.RadioBitmap;
}

int TSkinRadioButton::GlyphFrames() const
{
    return SkinData->Model().Buttons.RadioButtonFrame;
}

bool TSkinCheckBox::PaintsWhole() const
{
    return !Glyphs().isNull();  // without its picture the box paints itself
}

void TSkinCheckBox::Paint(QPainter &p, const QRect &rect)
{
    auto *box = qobject_cast<QAbstractButton *>(Window());
    const auto *check = qobject_cast<QCheckBox *>(box);
    const bool indeterminate = check && check->checkState() == Qt::PartiallyChecked;
    const int frames = std::max(GlyphFrames(), 1);
    const int frame = CheckGlyphFrame(box->isChecked(), indeterminate, box->isEnabled(), frames);
    if (Transparent)
        FillParent(p, rect);
    else
        FillFace(p, rect);
    const QImage glyph = WithMagentaTransparent(StateImage(Glyphs(), frames, frame));
    const bool glyphRight = box->layoutDirection() == Qt::RightToLeft;
    const int top = rect.top() + (rect.height() - glyph.height()) / 2;
    const int glyphLeft = glyphRight ? rect.right() + 1 - glyph.width() : rect.left();
    p.drawImage(glyphLeft, top, glyph);

    QRect textArea = glyphRight ? QRect(rect.left(), rect.top(), rect.width() - glyph.width() - 2, rect.height())
                                : rect.adjusted(glyph.width() + 2, 0, 0, 0);
    const int flags = Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic |
                      (glyphRight ? Qt::AlignRight : Qt::AlignLeft);
    const QRect textRect = p.fontMetrics().boundingRect(textArea, flags, box->text());
    p.setPen(box->palette().color(box->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textArea, flags, box->text());
    if (box->hasFocus() && !box->text().isEmpty())
        DrawFocusRect(p, textRect);
}

}  // namespace qasp::skin
