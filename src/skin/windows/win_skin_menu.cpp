#include "skin/windows/win_skin_menu.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/nc_objects.h"
#include "skin/windows/skin_manage.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace qasp::skin {

TWinSkinMenu::TWinSkinMenu(QMenuBar *bar) : TSkinControl(bar), bar_(bar) {}

void TWinSkinMenu::Attached()
{
    TrackHover(true);
    // Its drop-downs are the menu bar's: the manager counts them as such.
    for (QAction *action : bar_->actions())
        if (QMenu *menu = action->menu())
            connect(menu, &QMenu::aboutToShow, this, [] {
                if (TSkinManage *manager = TSkinManage::Get()) {
                    manager->MenuKind = kMenuBarDropDown;
                    manager->MenuBarTracking = true;
                }
            });
}

int TWinSkinMenu::ItemState(QAction *action) const
{
    if (bar_->activeAction() != action)
        return TNCObject::kNormal;
    return action->menu() && action->menu()->isVisible() ? TNCObject::kPressed : TNCObject::kHot;
}

void TWinSkinMenu::Paint(QPainter &p, const QRect &rect)
{
    const SkinModel &m = SkinData->Model();
    const bool active = bar_->isActiveWindow();
    if (m.MenuBar && !m.MenuBar->Bitmap.isNull()) {
        const QImage state = StateImage(m.MenuBar->Bitmap, m.MenuBar->FrameCount, active ? 1 : 2, true);
        // Tile 1 stretches the middle; otherwise it is repeated between the ends.
        DrawNineSlice(p, rect, state, m.MenuBar->Margins, m.MenuBar->Trans != 0, m.MenuBar->Tile != 1);
    } else {
        p.fillRect(rect, ToQColor(m.Colours.Menubar));
    }
    for (QAction *action : bar_->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QRect item = bar_->actionGeometry(action).adjusted(0, 0, 0, -1);
        if (item.isEmpty())
            continue;
        const int state = ItemState(action);
        if (state != TNCObject::kNormal) {
            p.setPen(ToQColor(m.Colours.ButtonHilight));
            p.drawRect(item.adjusted(0, 0, -1, -1));
        }
        p.setPen(ToQColor(action->isEnabled() ? m.Colours.MenuBarText : m.Colours.ButtonShadow));
        p.drawText(item, Qt::AlignCenter | Qt::TextShowMnemonic, action->text());
    }
}

}  // namespace qasp::skin
