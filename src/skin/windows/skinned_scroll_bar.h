// Scroll bars drawn from the skin: arrows, track, thumb and grip from the
// skin's pictures, the zones found by the bar's own layout, and every click
// handed to the bar as the action a click on the plain bar would take
// (a step, a page, a drag of the thumb), so the control scrolls exactly as
// before.
#pragma once

#include "skin/windows/control_states.h"
#include "skin/windows/skinned_control.h"

#include <QTimer>

class QScrollBar;

namespace qasp::skin {

// One skinned scroll bar.
class SkinnedScrollBar : public SkinnedControl {
    Q_OBJECT
public:
    explicit SkinnedScrollBar(QScrollBar *bar);

    ScrollBarLayout layout() const;
    ScrollRange range() const;

protected:
    void attached() override;
    bool beforeEvent(QEvent *event) override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;

private:
    bool isHorizontal() const;
    int along(QPoint p) const;
    int arrowSize() const;
    void press(QPoint p);
    void repeat();
    QRect partRect(int start, int length) const;

    QScrollBar *bar_;
    int hotZone_ = kNoZone;
    int pressedZone_ = kNoZone;
    bool dragging_ = false;
    QTimer repeat_;
    int dragOffset_ = 0;
};

// The scroll bars of a scrolling control (tree, text, list), the corner
// between them and the control's frame.
class SkinnedScrollArea : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    void attached() override;
    void detaching() override;
    bool paintsOver() const override { return true; }
    void paint(QPainter &painter, const QRect &rect) override;

private:
    std::vector<QPointer<SkinnedScrollBar>> bars_;
};

}  // namespace qasp::skin
