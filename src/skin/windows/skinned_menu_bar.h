// SkinnedMenuBar: the window's menu bar drawn from the skin's menu bar
// picture, its items with hot and pressed frames. The bar's own keyboard
// and mouse handling stays: Alt and the accelerators open a drop-down,
// left and right move between them (past either end to the other), an
// item without a drop-down runs its command.
#pragma once

#include "skin/windows/skinned_control.h"

class QAction;
class QMenuBar;

namespace qasp::skin {

class SkinnedMenuBar : public SkinnedControl {
    Q_OBJECT
public:
    explicit SkinnedMenuBar(QMenuBar *bar);

protected:
    void attached() override;
    bool paintsWhole() const override { return true; }
    void paint(QPainter &painter, const QRect &rect) override;

private:
    // Pressed: its drop-down is open.
    enum class ItemLook { Plain, Hot, Pressed };
    ItemLook itemLook(QAction *action) const;

    QMenuBar *bar_;
};

}  // namespace qasp::skin
