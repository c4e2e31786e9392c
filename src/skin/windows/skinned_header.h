// Header sections (of list and tree views) drawn from the skin's header
// picture: image 1, image 2 under the mouse, the section's caption over it.
#pragma once

#include "skin/windows/skinned_control.h"

class QHeaderView;

namespace qasp::skin {

class SkinnedHeader : public SkinnedControl {
    Q_OBJECT
public:
    // Paints on the header's viewport, where a header draws its sections.
    explicit SkinnedHeader(QHeaderView *header);

protected:
    void attached() override;
    bool beforeEvent(QEvent *event) override;
    bool paintsWhole() const override;
    void paint(QPainter &painter, const QRect &rect) override;

private:
    QHeaderView *header_;
    int hotSection_ = -1;  // the section under the mouse
};

}  // namespace qasp::skin
