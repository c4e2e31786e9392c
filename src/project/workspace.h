// The window's state around the project tree and the handlers that move text
// between a node and the editor: selecting a node loads its text into the
// editor, and every edit flows back into the selected node at once.
#pragma once

#include "project/asp_loader.h"
#include "project/project_tree.h"

#include <filesystem>
#include <map>

#include <string>
#include <string_view>

namespace qasp {

class KeywordStore;
class WindowSurface;

class ProjectWorkspace : public TreeObserver {
public:
    ProjectWorkspace(ProjectTree &tree, KeywordStore &store, WindowSurface &window);
    ~ProjectWorkspace() override;
    ProjectWorkspace(const ProjectWorkspace &) = delete;
    ProjectWorkspace &operator=(const ProjectWorkspace &) = delete;

    ProjectTree &Tree() { return tree_; }
    KeywordStore &Store() { return store_; }
    WindowSurface &Window() { return window_; }

    // Makes `node` the selected node: CTreeChanging, then the selection.
    void SelectNode(TreeNode *node);

    // `node` is about to become the selected node.
    void CTreeChanging(TreeNode *node);
    // The editor's text changed.
    void CMemoChange();
    // The line whose changes are tracked until the caret leaves it.
    void RememberLine(int row);

    // Undo and redo of the selected node's text: the editor, the node's
    // label and its names in the keyword store follow. False when there was
    // nothing to do.
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // The next change of the selected node starts a new undo step.
    void EndUndoStep();
    // While one lives, changes of the editor are the program's rewrites
    // that belong to the user's last action.
    class Consequence {
    public:
        explicit Consequence(ProjectWorkspace &ws) : ws_(ws), was_(ws.consequence_)
        {
            ws.consequence_ = true;
        }
        ~Consequence() { ws_.consequence_ = was_; }
        Consequence(const Consequence &) = delete;
        Consequence &operator=(const Consequence &) = delete;

    private:
        ProjectWorkspace &ws_;
        bool was_;
    };

    // A function's head line `headLine` names the function node `node`: its
    // key_public entry and its label follow a changed head.
    void FollowFunctionHead(TreeNode *node, std::string_view headLine);

    // Writes `edits` of the selected node's text into the editor as the
    // program's own writes and recolours the lines they touch; true when
    // one of those lines, before or after, declares names.
    bool ReplayInEditor(const std::vector<TextEdit> &edits);
    // After the program edited `node`'s text: its declarations scanned
    // again when `declarations`, its head followed, and the store and the
    // colours of changed names brought up to date.
    void AfterProgramEdits(TreeNode &node, bool declarations);

    std::string ProjectDir;
    // The site's root folder: where virtual="..." includes start, and the
    // limit no include may leave. Empty: found from the opened page.
    std::filesystem::path SiteRoot;
    EncodingChoice Encoding = EncodingChoice::Auto;
    // Files reopened in an encoding of the user's choice (see LoadContext).
    std::map<std::string, TextEncoding> FileEncodings;
    std::string SearchText;
    TreeNode *CutNode = nullptr;  // forgotten when its node goes
    int LastLine = 0;
    std::string LastLineText;
    // Edits or tree changes not yet saved with the whole project.
    bool Modified = false;
    // The options: the encoding a new page is written in, and whether 保存
    // writes the project layout instead of the files as they were read.
    TextEncoding NewPageEncoding = TextEncoding::Gbk;
    bool SaveWritesLayout = false;

private:
    bool StepHistory(bool undo);
    // Undo and redo follow the selected node's history; the save commands
    // need a project.
    void UpdateHistoryActions();
    void UpdateProjectActions();

    // The editor empty and read-only, the node's panels blank.
    void ShowNoNode();

    void BeforeRemove(TreeNode *node) override;
    void BeforeClear() override;
    void AfterClear() override
    {
        ShowNoNode();
        UpdateProjectActions();
    }
    void AfterInsert(TreeNode *node) override
    {
        Modified = true;
        MarkEdited(node->Parent());
        UpdateProjectActions();
    }
    void AfterRemove() override
    {
        Modified = true;
        UpdateProjectActions();
    }
    void BeforeMove(TreeNode *node, TreeNode *) override { MarkEdited(node->Parent()); }
    // A document's file changes with its functions and its include lines.
    static void MarkEdited(TreeNode *document);
    void SelectionChanged(TreeNode *node) override;
    void AfterMove(TreeNode *node) override
    {
        Modified = true;
        MarkEdited(node->Parent());
    }
    void NodeChanged(TreeNode *) override { Modified = true; }

    ProjectTree &tree_;
    KeywordStore &store_;
    WindowSurface &window_;
    bool consequence_ = false;
};

}  // namespace qasp
