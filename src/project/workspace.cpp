#include "project/workspace.h"

#include "editor/colouring.h"
#include "editor/declaration_scan.h"
#include "editor/editor_surface.h"
#include "editor/keyword_store.h"
#include "project/window_surface.h"
#include "text/gbk_codec.h"

namespace qasp {

const std::string kLayoutLosesNote = Utf8ToGbk(" [保存会改变原文件]");

ProjectWorkspace::ProjectWorkspace(ProjectTree &tree, KeywordStore &store, WindowSurface &window)
    : tree_(tree)
    , store_(store)
    , window_(window)
{
    tree_.AddObserver(this);
}

ProjectWorkspace::~ProjectWorkspace()
{
    tree_.RemoveObserver(this);
}

void ProjectWorkspace::SelectNode(TreeNode *node)
{
    if (node)
        CTreeChanging(node);
    tree_.SetSelected(node);
}

void ProjectWorkspace::CTreeChanging(TreeNode *node)
{
    EditorSurface &memo = window_.Memo();
    memo.SetTag(0);

    if (node->IsDocument()) {
        window_.SetActionEnabled(ActionId::New, true);
        window_.SetActionEnabled(ActionId::AddAsp, true);
        window_.SetActionEnabled(ActionId::SaveSelect, true);
        // A node may be pasted into any document but itself and its own
        // subtree.
        if (CutNode)
            window_.SetActionEnabled(ActionId::Paste, !node->IsInside(CutNode));
    } else {
        window_.SetActionEnabled(ActionId::New, false);
        window_.SetActionEnabled(ActionId::AddAsp, false);
        window_.SetActionEnabled(ActionId::SaveSelect, false);
        window_.SetActionEnabled(ActionId::Paste, false);
        store_.ExecuteStatement("Delete From Key_Other");
        ScanDeclarations(store_, "Key_Other", node->Text());
        store_.RefreshKeywords();
    }

    ColourText(memo, node->Text(), store_);
    memo.SetTag(1);
    RememberLine(0);
    std::string status = node->Record() ? node->Record()->Info : std::string();
    if (node->Record() && node->Record()->LayoutLoses)
        status += kLayoutLosesNote;
    window_.SetStatusText(0, status);
}

void ProjectWorkspace::CMemoChange()
{
    TreeNode *node = tree_.Selected();
    if (!node || window_.Memo().Tag() != 1)
        return;
    if (!node->Record())
        tree_.AttachRecord(node);
    std::string text = window_.Memo().Text();
    if (text != node->Record()->Text) {
        node->Record()->Text = std::move(text);
        Modified = true;
    }
}

void ProjectWorkspace::RememberLine(int row)
{
    LastLine = row;
    LastLineText = window_.Memo().LineText(row);
}

void ProjectWorkspace::BeforeRemove(TreeNode *node)
{
    if (CutNode && CutNode->IsInside(node))
        CutNode = nullptr;
}

void ProjectWorkspace::BeforeClear()
{
    CutNode = nullptr;
}

}  // namespace qasp
