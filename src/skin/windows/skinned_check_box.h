// Check boxes and radio buttons drawn with the skin's check and radio
// glyphs, the caption beside them.
#pragma once

#include "skin/windows/skinned_control.h"

namespace qasp::skin {

class SkinnedCheckBox : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void attached() override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;
    // The glyph picture and its frame count.
    virtual const QImage &glyphs() const;
    virtual int glyphFrames() const;

private:
    bool transparent_ = false;  // drawn on its parent's background
};

class SkinnedRadioButton : public SkinnedCheckBox {
    Q_OBJECT
public:
    using SkinnedCheckBox::SkinnedCheckBox;

protected:
    const QImage &glyphs() const override;
    int glyphFrames() const override;
};

}  // namespace qasp::skin
