// Push buttons and tool buttons drawn from the skin's button picture: a
// frame by state (pressed, hot, focused, disabled), the picture stretched
// by the nine-part rule, then the button's icon and caption.
#pragma once

#include "skin/windows/skin_control.h"

namespace qasp::skin {

// A push button; with a picture of its own it is a bitmap button.
class TSkinButton : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    // The caption as shown: "||" breaks the line.
    static QString CaptionOf(const QString &text);

protected:
    void Attached() override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

// A tool button, in a tool bar or on its own.
class TSkinSpeedButton : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

}  // namespace qasp::skin
