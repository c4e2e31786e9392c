// The main window in memory: an in-memory editor, action states, status
// panels and dialogs that answer from queues.
#pragma once

#include "memory_editor.h"
#include "project/command_dispatch.h"
#include "project/window_surface.h"

#include <deque>
#include <map>
#include <optional>
#include <string>

namespace qasp::testing {

class FakeWindow : public WindowSurface, public CommandDialogs {
public:
    MemoryEditor memo;
    std::map<ActionId, bool> enabled{{ActionId::New, true},
                                     {ActionId::AddAsp, true},
                                     {ActionId::SaveSelect, false},
                                     {ActionId::Paste, false}};
    std::map<ActionId, bool> checked{{ActionId::VarNeed, true}, {ActionId::GetColor, false}};
    std::string status[4];
    std::deque<std::optional<std::string>> files, directories;
    bool picking = false, closed = false, helpShown = false;
    std::string caption = "取色";

    EditorSurface &Memo() override { return memo; }
    void SetActionEnabled(ActionId id, bool on) override { enabled[id] = on; }
    bool ActionEnabled(ActionId id) const override { return enabled.at(id); }
    void SetActionChecked(ActionId id, bool on) override { checked[id] = on; }
    bool ActionChecked(ActionId id) const override { return checked.at(id); }
    void SetStatusText(int panel, std::string_view text) override { status[panel] = text; }
    void SetActionText(ActionId id, std::string_view text) override { texts[id] = text; }
    std::map<ActionId, std::string> texts;

    std::optional<std::string> ChooseFileToOpen() override { return Next(files); }
    std::optional<std::string> ChooseFileToSave() override { return Next(files); }
    std::optional<std::string> ChooseDirectory() override { return Next(directories); }
    void ShowHelp() override { helpShown = true; }
    void CloseWindow() override { closed = true; }
    void SetColourPicking(bool on) override { picking = on; }
    std::string PickerCaption() const override { return caption; }
    void ExpandNode(TreeNode *) override {}
    void ShowFindReplace(bool replace) override { findShown.push_back(replace); }
    bool CutEditorSelection() override { return false; }
    void CopyEditorSelection() override {}
    std::vector<bool> findShown;

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>> &queue)
    {
        if (queue.empty())
            return std::nullopt;
        auto v = queue.front();
        queue.pop_front();
        return v;
    }
};

}  // namespace qasp::testing
