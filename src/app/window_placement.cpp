#include "app/window_placement.h"

#include <algorithm>

namespace qasp::app {

QRect DefaultWindowGeometry(const QRect &available)
{
    const QSize size(available.width() * 4 / 5, available.height() * 4 / 5);
    QRect r(QPoint(), size);
    r.moveCenter(available.center());
    return r;
}

QRect OnScreenGeometry(const QRect &saved, const QList<QRect> &screens)
{
    if (screens.isEmpty() || !saved.isValid())
        return saved;
    // The caption row is what the user drags: the window counts as on a
    // screen when a good part of it can be reached there.
    const QRect caption(saved.topLeft(), QSize(saved.width(), 30));
    for (const QRect &screen : screens) {
        const QRect reachable = screen.intersected(caption);
        if (reachable.width() >= std::min(100, saved.width()) && reachable.height() >= 10)
            return saved;
    }
    const QRect &screen = screens.first();
    QRect r(saved.topLeft(), saved.size().boundedTo(screen.size()));
    r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() + 1 - r.height()));
    return r;
}

}  // namespace qasp::app
