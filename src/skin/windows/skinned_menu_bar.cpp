#include "skin/windows/skinned_menu_bar.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_manager.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace qasp::skin {

SkinnedMenuBar::SkinnedMenuBar(QMenuBar *bar) : SkinnedControl(bar), bar_(bar) {}

void SkinnedMenuBar::attached()
{
    trackHover(true);
    // Its drop-downs are the menu bar's: the manager counts them as such.
    for (QAction *action : bar_->actions())
        if (QMenu *menu = action->menu())
            connect(menu, &QMenu::aboutToShow, this, [] {
                if (SkinManager *manager = SkinManager::instance())
                    manager->menuBarDropDownOpening();
            });
}

SkinnedMenuBar::ItemLook SkinnedMenuBar::itemLook(QAction *action) const
{
    if (bar_->activeAction() != action)
        return ItemLook::Plain;
    return action->menu() && action->menu()->isVisible() ? ItemLook::Pressed : ItemLook::Hot;
}

void SkinnedMenuBar::paint(QPainter &p, const QRect &rect)
{
    const SkinModel &m = model();
    const bool active = bar_->isActiveWindow();
    if (m.MenuBar && !m.MenuBar->Bitmap.isNull()) {
        const QImage state = StateImage(m.MenuBar->Bitmap, m.MenuBar->FrameCount, active ? 1 : 2, true);
        DrawNineSlice(p, rect, state, m.MenuBar->Margins, TilesMiddle(*m.MenuBar));
    } else {
        p.fillRect(rect, ToQColor(m.Colours.Menubar));
    }
    for (QAction *action : bar_->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QRect item = bar_->actionGeometry(action).adjusted(0, 0, 0, -1);
        if (item.isEmpty())
            continue;
        if (const ItemLook look = itemLook(action); look != ItemLook::Plain) {
            // Raised when hot, sunken when open, in the skin's light and
            // shadow: one of the two always shows, on a light bar or a dark.
            const QColor light = ToQColor(m.Colours.ButtonHilight), shadow = ToQColor(m.Colours.ButtonShadow);
            DrawBevel(p, item.adjusted(0, 0, -1, -1), light, shadow, look == ItemLook::Pressed);
        }
        p.setPen(ToQColor(action->isEnabled() ? m.Colours.MenuBarText : m.Colours.ButtonShadow));
        p.drawText(item, Qt::AlignCenter | Qt::TextShowMnemonic, action->text());
    }
}

}  // namespace qasp::skin
