#include "project/workspace.h"

#include "editor/changed_lines.h"
#include "editor/colouring.h"
#include "editor/declaration_scan.h"
#include "editor/editor_surface.h"
#include "editor/keyword_store.h"
#include "editor/paused_live_edits.h"
#include "project/document_assembly.h"
#include "project/node_script.h"
#include "project/window_surface.h"
#include "text/byte_string.h"
#include "text/function_name.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <optional>

namespace qasp {

ProjectWorkspace::ProjectWorkspace(ProjectTree &tree, KeywordStore &store, WindowSurface &window)
    : tree_(tree),
      store_(store),
      window_(window)
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
    window_.SetActionEnabled(ActionId::Del, true);
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
        ScanDeclarations(store_, KeywordTable::Other, ScriptOfNode(*node, node->Text()));  // emptied first
        store_.RefreshKeywords();
    }

    // Off while the editor takes the node's text, on once it holds all of
    // it. No PausedLiveEdits here: should the writing fail half way, the
    // editor holds part of a node that is not selected, and none of it may
    // flow into the node that is.
    memo.SetLive(false);
    memo.SetEncoding(node->Encoding());
    // Only the server code is coloured; HTML around it stays plain.
    // An editor that colours itself needs no mask: it finds the server code.
    memo.SetStartsInCode(StartsInCode(*node));
    ColourText(memo, node->Text(), store_,
               memo.ColoursItself() ? std::string() : ScriptMaskOfNode(*node, node->Text()));
    memo.TakeChangedLines();  // the node holds what the editor shows
    if (node->Record())
        node->Record()->History.EndStep();
    memo.SetLive(true);
    memo.SetReadOnly(false);
    UpdateHistoryActions();
    RememberLine(0);
    std::string status = node->Record() ? GbkToUtf8(node->Record()->Info) : std::string();
    window_.SetStatusText(0, status);
    // The shown file: how its bytes are read and its lines end.
    const TreeNode *document = node;
    while (document && !document->IsDocument())
        document = document->Parent();
    std::string file;
    if (document && document->Record()) {
        const std::string ends = LineEndsName(document->Record()->LineBreaks);
        file = std::string(TextEncodingName(document->Record()->Encoding)) + (ends.empty() ? "" : " " + ends);
    }
    window_.SetStatusText(3, file);
}

void ProjectWorkspace::CMemoChange()
{
    TreeNode *node = tree_.Selected();
    if (!node || !window_.Memo().IsLive())
        return;
    if (!node->Record())
        tree_.AttachRecord(node);
    TTreeRec &record = *node->Record();
    // Only the lines the editor says it changed are read; an editor that
    // does not keep track (or went out of step) is read whole.
    EditorSurface &memo = window_.Memo();
    const std::optional<ChangedLines> lines = memo.TakeChangedLines();
    std::optional<TextEdit> edit = lines ? EditOfChangedLines(record.Text, *lines) : std::nullopt;
    if (!edit)
        edit = DiffTexts(record.Text, memo.Text());
    if (edit->removed.empty() && edit->inserted.empty())
        return;
    EditNodeText(*node, *edit);
    if (consequence_)
        record.History.RecordConsequence(std::move(*edit));
    else
        record.History.Record(std::move(*edit));
    record.Edited = true;
    Modified = true;
    UpdateHistoryActions();
}

void ProjectWorkspace::SelectionChanged(TreeNode *node)
{
    if (!node)
        ShowNoNode();
    UpdateHistoryActions();
}

void ProjectWorkspace::ShowNoNode()
{
    EditorSurface &memo = window_.Memo();
    memo.SetLive(false);
    memo.Clear();
    memo.SetReadOnly(true);
    // Commands on the selected node wait for one.
    window_.SetActionEnabled(ActionId::Del, false);
    window_.SetActionEnabled(ActionId::SaveSelect, false);
    for (int panel : {0, 1, 3})
        window_.SetStatusText(panel, "");
}

void ProjectWorkspace::UpdateHistoryActions()
{
    window_.SetActionEnabled(ActionId::Undo, CanUndo());
    window_.SetActionEnabled(ActionId::Redo, CanRedo());
}

void ProjectWorkspace::UpdateProjectActions()
{
    const bool project = tree_.FirstTopLevel() != nullptr;
    for (ActionId id : {ActionId::Save, ActionId::SaveAS, ActionId::SaveSingle, ActionId::SiteRoot,
                        ActionId::ReopenGbk, ActionId::ReopenUtf8})
        window_.SetActionEnabled(id, project);
}

bool ProjectWorkspace::CanUndo() const
{
    const TreeNode *node = tree_.Selected();
    return node && node->Record() && node->Record()->History.CanUndo();
}

bool ProjectWorkspace::CanRedo() const
{
    const TreeNode *node = tree_.Selected();
    return node && node->Record() && node->Record()->History.CanRedo();
}

void ProjectWorkspace::EndUndoStep()
{
    if (TreeNode *node = tree_.Selected(); node && node->Record())
        node->Record()->History.EndStep();
}

bool ProjectWorkspace::Undo()
{
    return StepHistory(true);
}

bool ProjectWorkspace::Redo()
{
    return StepHistory(false);
}

bool ProjectWorkspace::StepHistory(bool undo)
{
    TreeNode *node = tree_.Selected();
    EditorSurface &memo = window_.Memo();
    if (!node || !node->Record() || !memo.IsLive())
        return false;
    TTreeRec &record = *node->Record();
    std::string text = record.Text;
    std::vector<TextEdit> edits = undo ? record.History.Undo(text) : record.History.Redo(text);
    if (edits.empty())
        return false;
    if (undo) {
        std::reverse(edits.begin(), edits.end());
        for (TextEdit &e : edits)
            e = Reversed(e);
    }

    // The editor takes the same replacements, and a document's procedures
    // keep their places through each of them.
    const bool declarations = ReplayInEditor(edits);
    if (node->IsDocument())
        for (const TextEdit &e : edits)
            ShiftProcedureAnchors(*node, e);
    record.Text = std::move(text);
    record.Edited = true;
    Modified = true;
    memo.TakeChangedLines();  // the replayed edits are in the node already

    AfterProgramEdits(*node, declarations);
    RememberLine(memo.LineFromChar(memo.SelectionStart()));
    UpdateHistoryActions();
    return true;
}

void ProjectWorkspace::AfterProgramEdits(TreeNode &node, bool declarations)
{
    if (declarations)
        ScanNodeDeclarations(store_, node, node.Text());
    if (!node.IsDocument())
        FollowFunctionHead(&node, FirstLineOf(node.Text()));
    store_.RefreshKeywords();
    if (declarations)
        FollowKeywordChanges(window_.Memo(), store_);
}

bool ProjectWorkspace::ReplayInEditor(const std::vector<TextEdit> &edits)
{
    EditorSurface &memo = window_.Memo();
    PausedLiveEdits paused(memo);  // the program's writes are not edits of the user's
    bool declarations = false;
    for (const TextEdit &e : edits) {
        memo.SetSelection(e.offset, e.removed.size());
        memo.ReplaceSelection(e.inserted);
        const int first = memo.LineFromChar(e.offset);
        const int last = memo.LineFromChar(e.offset + e.inserted.size());
        // The lines now there, and the lines the edit took away.
        for (int row = first; row <= last; ++row) {
            const std::string line = memo.LineText(row);
            declarations = declarations || IsDeclarationLine(line);
            RecolourLine(memo, row, line, store_);
        }
        for (std::string_view rest = e.removed; !rest.empty();) {
            const size_t br = rest.find("\r\n");
            declarations = declarations || IsDeclarationLine(rest.substr(0, br));
            rest = br == std::string_view::npos ? std::string_view() : rest.substr(br + 2);
        }
    }
    const TextEdit &lastEdit = edits.back();
    memo.SetSelection(lastEdit.offset + lastEdit.inserted.size(), 0);
    return declarations;
}

void ProjectWorkspace::FollowFunctionHead(TreeNode *node, std::string_view headLine)
{
    if (node->IsDocument() || !IsProcedureHead(headLine))
        return;
    const std::string prototype = ExtractFunctionName(Trim(headLine), false);
    if (prototype == node->DisplayText())
        return;
    store_.RemoveFunction(node->DisplayText());
    RegisterFunctionKeyword(store_, Trim(headLine));
    tree_.Rename(node, prototype);
}

void ProjectWorkspace::RememberLine(int row)
{
    LastLine = row;
    LastLineText = window_.Memo().LineText(row);
}

void ProjectWorkspace::MarkEdited(TreeNode *document)
{
    if (document && document->Record())
        document->Record()->Edited = true;
}

void ProjectWorkspace::BeforeRemove(TreeNode *node)
{
    MarkEdited(node->Parent());
    if (CutNode && CutNode->IsInside(node))
        CutNode = nullptr;
}

void ProjectWorkspace::BeforeClear()
{
    CutNode = nullptr;
}

}  // namespace qasp
