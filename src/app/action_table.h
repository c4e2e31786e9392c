// Every command of the main window as data: the action definitions, and the
// places where the menu bar and the tool bar show them.
#pragma once

#include "project/action_id.h"

#include <span>

namespace qasp::app {

using qasp::ActionId;

struct ActionDef {
    ActionId id;
    const char *name;  // object name, "Action_OPEN"
    const char *category;
    const char *caption;
    const char *hint;  // "" when the action has none
    int image;         // index into CICO, -1 for none
    bool enabled;
    bool checkable;  // flips its checked state on each use
    bool checked;
    const char *shortcuts = nullptr;  // "Ctrl+Y; Ctrl+Shift+Z", the first one shown in menus
};

// One place of an action on a bar. A caption or image given here overrides
// the action's own; nullptr / -2 keep the action's.
struct BarItem {
    ActionId id;
    const char *caption;
    int image;
};

struct MenuDef {
    const char *title;
    std::span<const BarItem> items;  // a BarItem with a null caption and image -3 is a separator
};

constexpr int kKeepImage = -2;
constexpr int kSeparator = -3;

std::span<const ActionDef> ActionDefinitions();
std::span<const BarItem> ToolBarLayout();
std::span<const MenuDef> MenuBarLayout();

}  // namespace qasp::app
