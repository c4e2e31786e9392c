// The skin's look for the containers of a window: panels and tool bars
// take the skin's face colour, a status bar is drawn with the skin's panel
// edges, a group box with the skin's lines, a size grip from the skin's
// extra images, a tab sheet filled.
#pragma once

#include "skin/windows/skin_control.h"

namespace qasp::skin {

// Panels, tool bars, tab sheets: the background only.
class TSkinBox : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    void Detaching() override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;

private:
    QString savedStyleSheet_;
};

class TSkinStatusBar : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

class TSkinGroupBox : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

class TSkinSizer : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;
};

}  // namespace qasp::skin
