#pragma once

#include <QFont>

namespace qasp::app {

// The interface asks for 宋体 at 12 pixels. Where the system has no such face
// a free Ming-style face stands in, so the window looks the same everywhere.
void InstallFontSubstitutions();
QFont InterfaceFont();

}  // namespace qasp::app
