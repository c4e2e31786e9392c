// The window's state around the project tree, and which document and range
// the editor shows: selecting a node shows its view of its document (a
// document node the whole file, a procedure node its block); every edit in
// the editor is one edit of that document, and every change of the document
// made elsewhere (undo, a replace, a tree edit) reaches the editor.
#pragma once

#include "document/document.h"
#include "project/asp_loader.h"
#include "project/project_tree.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace qasp {

class KeywordStore;
class WindowSurface;

class ProjectWorkspace : public TreeObserver, private DocumentObserver {
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

    // `node` is about to become the selected node: the editor shows its view.
    void CTreeChanging(TreeNode *node);
    // The editor's text changed: the change becomes an edit of the shown
    // document.
    void CMemoChange();
    // The line whose changes are tracked until the caret leaves it.
    void RememberLine(int row);

    // Undo and redo of the shown document, whichever view made the change;
    // a step that several documents share (a replace in the whole project)
    // is taken back in all of them. The editor, the node's label and its
    // names in the keyword store follow. False when there was nothing to do.
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // The next change of the shown document starts a new undo step.
    void EndUndoStep();
    // A new number tying the steps of one action across documents.
    std::uint64_t NewEditGroup() { return ++lastGroup_; }
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

    // After the program edited `node`'s document: its declarations scanned
    // again when `declarations`, its head followed, and the store and the
    // colours of changed names brought up to date.
    void AfterProgramEdits(TreeNode &node, bool declarations);
    // The undo and redo commands follow the shown document's history.
    void UpdateHistoryActions();

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
    void UpdateProjectActions();

    // The editor shows `node`'s view (null: nothing, read-only).
    void Show(TreeNode *node);
    // The editor empty and read-only, the node's panels blank.
    void ShowNoNode();
    // A change of the shown document not made through the editor.
    void TextChanged(Document &document, const TextEdit &edit) override;

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
    // The node whose view the editor shows, and its document (observed).
    TreeNode *shown_ = nullptr;
    std::shared_ptr<Document> shownDocument_;
    // The editor's own change is being applied: the document need not be
    // written back into it.
    bool fromEditor_ = false;
    // A change written into the editor touched a declaration line.
    bool declarationsChanged_ = false;
    std::uint64_t lastGroup_ = 0;
};

}  // namespace qasp
