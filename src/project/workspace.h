// The window's state around the project tree and the handlers that move text
// between a node and the editor: selecting a node loads its text into the
// editor, and every edit flows back into the selected node at once.
#pragma once

#include "project/project_tree.h"

#include <string>

namespace qasp {

class KeywordStore;
class WindowSurface;

// Shown after the status line of a document whose file the project layout
// cannot give back.
extern const std::string kLayoutLosesNote;

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

    std::string ProjectDir;
    std::string SearchText;
    TreeNode *CutNode = nullptr;  // forgotten when its node goes
    int LastLine = 0;
    std::string LastLineText;
    // Edits or tree changes not yet saved with the whole project.
    bool Modified = false;

private:
    void BeforeRemove(TreeNode *node) override;
    void BeforeClear() override;
    void AfterInsert(TreeNode *) override { Modified = true; }
    void AfterRemove() override { Modified = true; }
    void AfterMove(TreeNode *) override { Modified = true; }
    void NodeChanged(TreeNode *) override { Modified = true; }

    ProjectTree &tree_;
    KeywordStore &store_;
    WindowSurface &window_;
};

}  // namespace qasp
