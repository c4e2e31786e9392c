// Push buttons and tool buttons drawn from the skin's button picture: a
// frame by state (pressed, hot, focused, disabled), the picture stretched
// by the nine-part rule, then the button's icon and caption.
#pragma once

#include "skin/windows/skinned_control.h"

namespace qasp::skin {

// A push button; with a picture of its own it is a bitmap button.
class SkinnedButton : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

    // The caption as shown: "||" breaks the line.
    static QString captionOf(const QString &text);

protected:
    void attached() override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;

private:
    bool transparent_ = false;  // drawn on its parent's background
};

// A tool button, in a tool bar or on its own.
class SkinnedToolButton : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void attached() override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;
};

}  // namespace qasp::skin
