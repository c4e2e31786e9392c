// Controls that show a value in a range, drawn from the skin: progress
// bars (frame and chunk), sliders (groove and thumb) and the arrows of
// spin boxes. Their geometry stays the style's, so they are used exactly
// as before.
#pragma once

#include "skin/windows/skinned_control.h"

#include <QPointer>

namespace qasp::skin {

class SkinElement;
class SkinnedTabButtons;
struct SkinModel;

class SkinnedProgressBar : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;
};

class SkinnedSlider : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

    // The thumb for ticks on one side points at them; with ticks on both
    // sides or none, or without the pointed picture, the plain thumb.
    static const SkinElement *thumbPicture(const SkinModel &model, bool horizontal, int tickPosition);

protected:
    void attached() override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;
};

class SkinnedSpinBox : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void attached() override;
    bool paintsOver() const override { return true; }
    void paint(QPainter &painter, const QRect &rect) override;
};

// Tab bars: each tab from the skin's tab picture by its state.
class SkinnedTabBar : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

    // 3 the current tab, 4 disabled, 2 under the mouse, 1 otherwise.
    static int tabImage(bool current, bool enabled, bool hot);

protected:
    void attached() override;
    void detaching() override;
    bool paintsWhole() const override;
    void afterEvent(QEvent *event) override;
    void paint(QPainter &painter, const QRect &rect) override;

private:
    QPointer<SkinnedTabButtons> buttons_;  // close marks and scroll buttons
};

}  // namespace qasp::skin
