// TWinSkinMenu: the window's menu bar drawn from the skin's menu bar
// picture, its items with hot and pressed frames. The bar's own keyboard
// and mouse handling stays: Alt and the accelerators open a drop-down,
// left and right move between them (past either end to the other), an
// item without a drop-down runs its command.
#pragma once

#include "skin/windows/skin_control.h"

class QAction;
class QMenuBar;

namespace qasp::skin {

class TWinSkinMenu : public TSkinControl {
    Q_OBJECT
public:
    explicit TWinSkinMenu(QMenuBar *bar);

    // An item's state: 1 plain, 3 hot, 2 pressed (its drop-down is open).
    int ItemState(QAction *action) const;

protected:
    void Attached() override;
    bool PaintsWhole() const override { return true; }
    void Paint(QPainter &painter, const QRect &rect) override;

private:
    QMenuBar *bar_;
};

}  // namespace qasp::skin
