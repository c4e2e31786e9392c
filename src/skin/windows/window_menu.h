// The window menu of a skinned window: restore, move, size, minimise,
// maximise and close, with the skin's glyphs beside them, each enabled as
// the window's state and capabilities allow. A right click on the caption,
// a click on the icon or Alt+Space opens it.
#pragma once

#include <QImage>

#include <functional>

class QMenu;
class QWidget;

namespace qasp::skin {

struct WindowMenuFacts {
    int windowState = 0;   // WindowStateKind
    int capabilities = 0;  // Capability bits
    bool sizable = true;
};

// A new menu owned by the window. `glyphs` holds four 16 x 16 pictures
// (restore, maximise, minimise, close); `move` and `size` start moving or
// sizing the window with the pointer; `maximise` maximises (true) or
// restores (false) it.
QMenu *BuildWindowMenu(QWidget *window, const QImage &glyphs, const WindowMenuFacts &facts,
                       const std::function<void()> &move, const std::function<void()> &size,
                       const std::function<void(bool)> &maximise);

}  // namespace qasp::skin
