// Controls that show a value in a range, drawn from the skin: progress
// bars (frame and chunk), sliders (groove and thumb) and the arrows of
// spin boxes. Their geometry stays the style's, so they are used exactly
// as before.
#pragma once

#include "skin/windows/skin_control.h"

namespace qasp::skin {

class TSkinProgress : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

class TSkinTrackBar : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

class TSkinUpDown : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    bool PaintsOver() const override { return true; }
    void Paint(QPainter &painter, const QRect &rect) override;
};

// Tab bars: each tab from the skin's tab picture by its state.
class TSkinTab : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    // 3 the current tab, 4 disabled, 2 under the mouse, 1 otherwise.
    static int TabImage(bool current, bool enabled, bool hot);

protected:
    void Attached() override;
    bool PaintsWhole() const override;
    void AfterMessage(QEvent *event) override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

}  // namespace qasp::skin
