// Edits and combo boxes: an edit keeps its own painting and gets the
// skin's border; a combo box gets the skin's sunken edge and drop button
// around its text.
#pragma once

#include "skin/windows/skin_control.h"

namespace qasp::skin {

class TSkinEdit : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

protected:
    bool PaintsOver() const override { return true; }
    void Paint(QPainter &painter, const QRect &rect) override;
};

class TSkinComBox : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    // The drop button's image: 3 disabled, 2 open, 4 focused or hot, 1.
    static int ButtonImage(bool enabled, bool open, bool hot, bool focused);

protected:
    void Attached() override;
    bool PaintsOver() const override { return true; }
    void Paint(QPainter &painter, const QRect &rect) override;
};

}  // namespace qasp::skin
