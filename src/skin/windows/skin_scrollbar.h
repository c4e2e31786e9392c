// Scroll bars drawn from the skin: arrows, track, thumb and grip from the
// skin's pictures, the zones found by the bar's own layout, and every click
// handed to the bar as the action a click on the plain bar would take
// (a step, a page, a drag of the thumb), so the control scrolls exactly as
// before.
#pragma once

#include "skin/windows/control_states.h"
#include "skin/windows/skin_control.h"

#include <QTimer>

class QScrollBar;

namespace qasp::skin {

// One skinned scroll bar.
class TWScrollbar : public TSkinControl {
    Q_OBJECT
public:
    explicit TWScrollbar(QScrollBar *bar);

    ScrollBarLayout Layout() const;
    ScrollRange Range() const;
    int HotZone = kNoZone;
    int PressedZone = kNoZone;
    bool Dragging = false;

protected:
    void Attached() override;
    bool BeforeMessage(QEvent *event) override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;

private:
    bool Horizontal() const;
    int Along(QPoint p) const;
    int ArrowSize() const;
    void Press(QPoint p);
    void Repeat();
    QRect PartRect(int start, int length) const;

    QScrollBar *bar_;
    QTimer repeat_;
    int dragOffset_ = 0;
};

// The scroll bars of a scrolling control (tree, text, list), the corner
// between them and the control's frame.
class TSkinScrollbar : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    void Attached() override;
    void Detaching() override;
    bool PaintsOver() const override { return true; }
    void Paint(QPainter &painter, const QRect &rect) override;

private:
    std::vector<QPointer<TWScrollbar>> bars_;
};

}  // namespace qasp::skin
