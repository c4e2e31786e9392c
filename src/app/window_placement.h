// Where the main window opens: about four fifths of the screen, centred, or
// where the user left it when that place still lies on a screen.
#pragma once

#include <QList>
#include <QRect>

namespace qasp::app {

// Four fifths of `available` in each direction, centred in it.
QRect DefaultWindowGeometry(const QRect &available);

// `saved` as it can be shown on the screens whose available areas are
// `screens`: unchanged when most of its caption row lies on one of them,
// otherwise moved (and shrunk where needed) onto the first screen.
QRect OnScreenGeometry(const QRect &saved, const QList<QRect> &screens);

}  // namespace qasp::app
