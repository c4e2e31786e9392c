// What the project's handlers need of the main window: the editor, the
// commands' enabled states and the status bar's panels. Texts are UTF-8, as
// the prompter's are; a node's bytes are converted where they are passed.
#pragma once

#include "project/action_id.h"

#include <string_view>

namespace qasp {

class EditorSurface;

class WindowSurface {
public:
    virtual ~WindowSurface() = default;
    virtual EditorSurface &Memo() = 0;
    virtual void SetActionEnabled(ActionId id, bool enabled) = 0;
    virtual bool ActionEnabled(ActionId id) const = 0;
    virtual void SetActionChecked(ActionId id, bool checked) = 0;
    virtual bool ActionChecked(ActionId id) const = 0;
    // A command's menu text, where it names what it acts on (撤销 全部替换).
    virtual void SetActionText(ActionId /*id*/, std::string_view /*text*/) {}
    // Panel 0: the node's status line; 1: caret row and column; 2: a hint.
    virtual void SetStatusText(int panel, std::string_view text) = 0;
};

}  // namespace qasp
