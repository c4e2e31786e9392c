// The skin's look for the containers of a window: panels and tool bars
// take the skin's face colour, a status bar is drawn with the skin's panel
// edges, a group box with the skin's lines, a size grip from the skin's
// extra images, a tab sheet filled.
#pragma once

#include "skin/windows/skinned_control.h"

namespace qasp::skin {

// Panels, tool bars, tab sheets: the background only.
class SkinnedPanel : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void takingBackground() override;
    void attached() override;
    void backgroundGivenBack() override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;

private:
    QString savedStyleSheet_;
};

class SkinnedStatusBar : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void attached() override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;
};

class SkinnedGroupBox : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;
};

// A size grip in the client area (a status bar's) is drawn as diagonal
// ridges in the skin's colours. A dialog's own grip lies on the window's
// corner, which the skinned frame covers and sizes by itself: it is hidden
// while the window wears the skin.
class SkinnedSizeGrip : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void attached() override;
    void detaching() override;
    bool paintsWhole() const override { return true; }
    void paint(QPainter &painter, const QRect &rect) override;

private:
    bool hidGrip_ = false;
};

}  // namespace qasp::skin
