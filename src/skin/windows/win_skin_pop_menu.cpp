#include "skin/windows/win_skin_pop_menu.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"

namespace qasp::skin {

TWinSkinPopMenu::TWinSkinPopMenu(QWidget *menuWindow, TSkinData *skinData, int kind)
    : Kind(kind), window_(menuWindow), skinData_(skinData)
{
}

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    Detach();
}

void TWinSkinPopMenu::Attach()
{
    if (attached_ || !window_)
        return;
    window_->installEventFilter(this);
    attached_ = true;
}

void TWinSkinPopMenu::Detach()
{
    if (!attached_)
        return;
    attached_ = false;
    if (window_)
        window_->removeEventFilter(this);
}

bool TWinSkinPopMenu::eventFilter(QObject *watched, QEvent *event)
{
    return watched == window_ && AnswerSkinQuery(event);
}

}  // namespace qasp::skin
