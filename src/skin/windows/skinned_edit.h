// Edits and combo boxes: an edit keeps its own painting and gets the
// skin's border; a combo box gets the skin's sunken edge and drop button
// around its text.
#pragma once

#include "skin/windows/skinned_control.h"

#include <QPointer>

namespace qasp::skin {

class SkinnedScrollBar;

class SkinnedLineEdit : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

protected:
    bool paintsOver() const override { return true; }
    void paint(QPainter &painter, const QRect &rect) override;
};

class SkinnedComboBox : public SkinnedControl {
    Q_OBJECT
public:
    using SkinnedControl::SkinnedControl;

    // The drop button's image: 3 disabled, 2 open, 4 focused or hot, 1.
    static int buttonImage(bool enabled, bool open, bool hot, bool focused);

protected:
    void attached() override;
    void detaching() override;
    bool paintsOver() const override { return true; }
    void paint(QPainter &painter, const QRect &rect) override;

private:
    // The drop-down list's scroll bar, skinned like every other.
    QPointer<SkinnedScrollBar> listBar_;
};

}  // namespace qasp::skin
