// Action_Do: every menu entry, tool button and the double click on the
// colour swatch, told apart by their sender.
#pragma once

#include "project/action_id.h"
#include "text/text_encoding.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qasp {

class ProjectMemory;
class ProjectWorkspace;
class Prompter;
class TreeNode;
struct SaveResult;

// What the commands need of the window beyond its surface: its dialogs and
// tools.
class CommandDialogs {
public:
    virtual ~CommandDialogs() = default;
    // DLGOPEN and DLGSAVE; paths as the file system's own bytes (UTF-8 on
    // this platform), nullopt when cancelled.
    virtual std::optional<std::string> ChooseFileToOpen() = 0;
    virtual std::optional<std::string> ChooseFileToSave() = 0;
    // TDLGDir: a directory that exists, nullopt when cancelled.
    virtual std::optional<std::string> ChooseDirectory() = 0;
    virtual void ShowHelp() = 0;
    virtual void CloseWindow() = 0;
    virtual void SetColourPicking(bool on) = 0;
    // Panel2's caption: the last colour code, or "取色" before the first.
    virtual std::string PickerCaption() const = 0;
    virtual void ExpandNode(TreeNode *node) = 0;
    // The find dialog, with its replace row when `replace`.
    virtual void ShowFindReplace(bool replace) = 0;
    // The editor's clipboard commands. Cutting answers false when the
    // editor has neither the focus nor a selection: 剪切 then cuts the
    // tree's node.
    virtual bool CutEditorSelection() = 0;
    virtual void CopyEditorSelection() = 0;
};

class CommandDispatcher {
public:
    CommandDispatcher(ProjectWorkspace &ws, Prompter &prompter, CommandDialogs &dialogs);

    void Action_Do(ActionId sender);
    void Panel2DoubleClick();
    // Opens the project of a chosen root file (Action_OPEN after its
    // dialog), telling the user what the load skipped. `file` is the file
    // system's own bytes, as the dialogs give them.
    void OpenProjectFile(const std::string &file);
    // The same after asking about unsaved changes: a recent file chosen, a
    // file dropped on the window.
    void OpenProjectFileAskingFirst(const std::string &file);
    // Where opened projects are remembered (site root, encodings, the
    // recent list); none by default.
    void SetProjectMemory(ProjectMemory *memory) { memory_ = memory; }

    // Before the project is thrown away (closing, opening, a new project):
    // asks about unsaved changes. False: stay.
    bool MayDiscardChanges();

private:
    void NewDocumentProject();
    void Open();
    void AddAsp();
    void Save();
    void SaveAs();
    void SaveSelect();
    void SaveSingle();
    void Paste();
    void ChooseSiteRoot();
    void ReopenSelected(TextEncoding encoding);
    // Tells the user what a save did beyond writing (backups made, files to
    // load again); true when it saved.
    bool Saved(const SaveResult &result);
    // Tells the user which temporary files of killed saves were removed.
    void ReportStaleFiles(const std::vector<std::filesystem::path> &removed);
    // The project directory, asking for one while none is known.
    std::optional<std::string> ProjectDirectory();
    // Keeps the open project's choices in the memory.
    void RememberProject();

    ProjectWorkspace &ws_;
    Prompter &prompter_;
    CommandDialogs &dialogs_;
    ProjectMemory *memory_ = nullptr;
    // The site root was chosen by the user (or recalled), not found.
    bool siteRootChosen_ = false;
};

}  // namespace qasp
