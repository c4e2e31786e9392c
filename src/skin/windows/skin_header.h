// Header sections (of list and tree views) drawn from the skin's header
// picture: image 1, image 2 under the mouse, the section's caption over it.
#pragma once

#include "skin/windows/skin_control.h"

class QHeaderView;

namespace qasp::skin {

class TSkinHeader : public TSkinControl {
    Q_OBJECT
public:
    // Paints on the header's viewport, where a header draws its sections.
    explicit TSkinHeader(QHeaderView *header);

    int HotSection = -1;

protected:
    void Attached() override;
    bool BeforeMessage(QEvent *event) override;
    bool PaintsWhole() const override;
    void Paint(QPainter &painter, const QRect &rect) override;

private:
    QHeaderView *header_;
};

}  // namespace qasp::skin
