// The program's two image lists, drawn for it and compiled in.
#pragma once

#include <QIcon>

namespace qasp::app {

constexpr int kCicoCount = 20;     // 16 x 16: 0 document, 1 function, 2-19 commands
constexpr int kHListIcoCount = 7;  // 18 x 12: one per key type

QIcon CicoIcon(int index);  // a null icon for an index outside the list
QIcon HListIcoIcon(int index);
QIcon ProgramIcon();  // the program's own icon, every size

}  // namespace qasp::app
