#include "project/outside_changes.h"

#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/project_commands.h"
#include "project/project_tree.h"
#include "project/prompter.h"
#include "project/workspace.h"
#include "editor/editor_surface.h"
#include "project/window_surface.h"

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

namespace qasp {

namespace fs = std::filesystem;

namespace {

bool HasFile(const TreeNode &node)
{
    return node.IsDocument() && node.Record() && !node.Record()->SourceFile.empty() && node.Record()->Loaded;
}

bool SharesItsRecord(const ProjectTree &tree, const TreeNode *node)
{
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (n != node && n->Record() == node->Record())
            return true;
    return false;
}

}  // namespace

std::vector<std::string> LabelPath(const TreeNode *node)
{
    std::vector<std::string> labels;
    for (; node; node = node->Parent())
        labels.insert(labels.begin(), node->DisplayText());
    return labels;
}

TreeNode *NodeAtLabelPath(const ProjectTree &tree, const std::vector<std::string> &labels)
{
    TreeNode *found = nullptr;
    const std::vector<std::unique_ptr<TreeNode>> *level = &tree.TopLevel();
    for (const std::string &label : labels) {
        const auto it = std::find_if(level->begin(), level->end(), [&](const std::unique_ptr<TreeNode> &n) {
            return n->DisplayText() == label;
        });
        if (it == level->end())
            break;
        found = it->get();
        level = &found->Children();
    }
    return found;
}

namespace {

void ForgetEdits(ProjectTree &tree, TreeNode *top)
{
    for (TreeNode *n = top; n && n->IsInside(top); n = tree.NextInPreOrder(n))
        if (n->Record())
            n->Record()->Edited = false;
}

}  // namespace

std::vector<TreeNode *> DocumentsChangedOnDisk(const ProjectTree &tree)
{
    std::vector<TreeNode *> changed;
    std::set<const TTreeRec *> seen;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (HasFile(*n) && seen.insert(n->Record()).second
            && CurrentFingerprint(n->Record()->SourceFile) != n->Record()->Loaded)
            changed.push_back(n);
    return changed;
}

bool DocumentEdited(const TreeNode &document)
{
    // A list of its own: includes may nest thousands deep.
    std::vector<const TreeNode *> pending{&document};
    while (!pending.empty()) {
        const TreeNode *node = pending.back();
        pending.pop_back();
        if (node->Record() && node->Record()->Edited)
            return true;
        if (node == &document || node->IsDocument())
            for (const auto &child : node->Children())
                pending.push_back(child.get());
    }
    return false;
}

void ReloadDocument(ProjectWorkspace &ws, TreeNode *document)
{
    ProjectTree &tree = ws.Tree();
    const fs::path file = document->Record()->SourceFile;
    TreeNode *parent = document->Parent();
    if (!parent || SharesItsRecord(tree, document)) {
        TreeNode *root = tree.FirstTopLevel();
        const fs::path rootFile = root->Record()->SourceFile;
        // The node shown is shown again, or the nearest that is still there.
        const std::vector<std::string> shown = LabelPath(tree.Selected());
        OpenProject(ws, rootFile.string(), ws.SiteRoot);
        ForgetEdits(tree, tree.FirstTopLevel());
        if (TreeNode *again = NodeAtLabelPath(tree, shown))
            ws.SelectNode(again);
        return;
    }
    const bool wasSelected = tree.Selected() && tree.Selected()->IsInside(document);
    if (wasSelected) {
        ws.SelectNode(nullptr);
        ws.Window().Memo().SetLive(false);  // until the fresh node is selected
        ws.Window().Memo().Clear();
    }
    const std::string name = document->DisplayText();
    const size_t before = parent->Children().size();
    LoadContext context;
    context.siteRoot = ws.SiteRoot;
    context.encoding = ws.Encoding;
    context.fileEncodings = ws.FileEncodings;
    try {
        LoadAspDocument(tree, parent, file.string(), ws.Store(), context);
    } catch (...) {
        if (parent->Children().size() > before)
            tree.Delete(parent->Children().back().get());
        throw;
    }
    TreeNode *fresh = parent->Children().back().get();
    const bool parentEdited = parent->Record() && parent->Record()->Edited;
    const bool modified = ws.Modified;
    const int row = tree.RowOf(document);
    tree.Delete(document);
    tree.Rename(fresh, name);  // the directive's own spelling
    // In file order the fresh node takes the old one's place: the siblings
    // that stood after it go behind it again.
    if (tree.FileOrder())
        while (parent->Children()[static_cast<size_t>(row)].get() != fresh)
            tree.Move(parent->Children()[static_cast<size_t>(row)].get(), parent);
    if (parent->Record())
        parent->Record()->Edited = parentEdited;
    ws.Modified = modified;
    ForgetEdits(tree, fresh);
    ws.Store().RefreshKeywords();
    if (wasSelected)
        ws.SelectNode(fresh);
}

void OfferReloads(ProjectWorkspace &ws, Prompter &prompter, OutsideChangeMemory &told)
{
    for (TreeNode *document : DocumentsChangedOnDisk(ws.Tree())) {
        // A reload above may have replaced this node (and read its file).
        if (ws.Tree().IndexOf(document) < 0)
            continue;
        const fs::path file = document->Record()->SourceFile;
        const std::optional<FileFingerprint> current = CurrentFingerprint(file);
        if (current == document->Record()->Loaded)
            continue;
        const auto it = told.find(file);
        if (it != told.end() && it->second == current)
            continue;
        told[file] = current;
        const std::string shown = file.string();
        if (!current) {
            prompter.Information(
                "文件 " + shown
                + " 已被其他程序删除或移走。编辑器中的内容仍然保留，保存工程时会重新写出它。");
            continue;
        }
        const bool edited = DocumentEdited(*document);
        const std::string text =
            edited ? "文件 " + shown
                         + " 已被其他程序修改，而你在这里也修改了它。\n\n"
                           "要重新载入它吗?选[是]载入磁盘上的新内容，放弃你在这里对它的修改；选[否]"
                           "保留你的修改。"
                   : "文件 " + shown + " 已被其他程序修改。\n\n要重新载入它吗?";
        // Enter keeps the user's edits; only a deliberate 是 drops them.
        const QuestionButtons buttons = edited ? QuestionButtons::YesNoNoDefault : QuestionButtons::YesNo;
        if (prompter.Question("文件已改变", text, buttons) != Answer::Yes)
            continue;
        ReloadDocument(ws, document);
        told.erase(file);
    }
}

}  // namespace qasp
