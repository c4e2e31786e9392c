// Check boxes and radio buttons drawn with the skin's check and radio
// glyphs, the caption beside them.
#pragma once

#include "skin/windows/skin_control.h"

namespace qasp::skin {

class TSkinCheckBox : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
    // The glyph picture and its frame count.
    virtual const QImage &Glyphs() const;
    virtual int GlyphFrames() const;
};

class TSkinRadioButton : public TSkinCheckBox {
    Q_OBJECT
public:
    using TSkinCheckBox::TSkinCheckBox;

protected:
    const QImage &Glyphs() const override;
    int GlyphFrames() const override;
};

}  // namespace qasp::skin
