#include "skin/windows/window_menu.h"

#include "skin/data/skin_draw.h"
#include "skin/windows/frame_geometry.h"
#include "skin/windows/skin_marks.h"

#include <QMenu>
#include <QPixmap>
#include <QWidget>

namespace qasp::skin {

QMenu *BuildWindowMenu(QWidget *window, const QImage &glyphs, const WindowMenuFacts &facts,
                       const std::function<void()> &move, const std::function<void()> &size,
                       const std::function<void(bool)> &maximise)
{
    auto *menu = new QMenu(window);
    MarkWindowMenu(menu);
    const auto add = [&](const QString &text, int glyph, bool enabled, const std::function<void()> &run) {
        QAction *action = menu->addAction(text);
        if (glyph >= 0 && !glyphs.isNull())
            action->setIcon(QPixmap::fromImage(StateImage(glyphs, 4, glyph + 1)));
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, window, run);
    };
    const bool normal = facts.windowState == kNormalState;
    const bool maximised = facts.windowState == kMaximisedState;
    const bool minimised = facts.windowState == kMinimisedState;
    add(QStringLiteral("还原(&R)"), 0, !normal, [maximise] { maximise(false); });
    add(QStringLiteral("移动(&M)"), -1, !maximised, move);
    add(QStringLiteral("大小(&S)"), -1, !maximised && facts.sizable, size);
    add(QStringLiteral("最小化(&N)"), 2, !minimised && (facts.capabilities & kMinimiseBox),
        [window] { window->showMinimized(); });
    add(QStringLiteral("最大化(&X)"), 1, !maximised && (facts.capabilities & kMaximiseBox),
        [maximise] { maximise(true); });
    menu->addSeparator();
    add(QStringLiteral("关闭(&C)\tAlt+F4"), 3, true, [window] { window->close(); });
    return menu;
}

}  // namespace qasp::skin
