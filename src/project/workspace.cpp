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
#include <set>

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
    if (shownDocument_)
        shownDocument_->RemoveObserver(this);
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
        ScanNodeDeclarations(store_, *node);  // key_other emptied first
        store_.RefreshKeywords();
    }
    if (!node->Record())
        tree_.AttachRecord(node);
    Show(node);
}

void ProjectWorkspace::Show(TreeNode *node)
{
    EditorSurface &memo = window_.Memo();
    if (shownDocument_)
        shownDocument_->RemoveObserver(this);
    shown_ = node;
    shownDocument_ = node ? node->Record()->Doc : nullptr;
    if (!node) {
        ShowNoNode();
        return;
    }
    shownDocument_->AddObserver(this);
    shownDocument_->EndUndoStep();
    memo.TakeUnencodable();  // what another file could not hold is no concern of this one

    // Off while the editor takes the node's text, on once it holds all of
    // it. No PausedLiveEdits here: should the writing fail half way, the
    // editor holds part of a node that is not selected, and none of it may
    // flow into the node that is.
    memo.SetLive(false);
    memo.SetEncoding(node->Encoding());
    // Only the server code is coloured; HTML around it stays plain.
    // An editor that colours itself needs no mask: it finds the server code.
    memo.SetStartsInCode(StartsInCode(*node));
    ColourText(memo, std::string(node->Text()), store_,
               memo.ColoursItself() ? std::string() : ScriptMaskOfNode(*node, node->Text()));
    memo.TakeChangedLines();  // the node holds what the editor shows
    memo.SetLive(true);
    memo.SetReadOnly(false);
    UpdateHistoryActions();
    RememberLine(0);
    window_.SetStatusText(0, GbkToUtf8(node->Record()->Info));
    // The shown file: how its bytes are read and its lines end.
    const Document &doc = *shownDocument_;
    const std::string ends = LineEndsName(doc.LineBreaks());
    window_.SetStatusText(3,
                          std::string(TextEncodingName(doc.Encoding())) + (ends.empty() ? "" : " " + ends));
}

void ProjectWorkspace::CMemoChange()
{
    TreeNode *node = shown_;
    EditorSurface &memo = window_.Memo();
    if (!node || node != tree_.Selected() || !memo.IsLive())
        return;
    // Only the lines the editor says it changed are read; an editor that
    // does not keep track (or went out of step) is read whole.
    const std::string_view text = node->Text();
    const std::optional<ChangedLines> lines = memo.TakeChangedLines();
    std::optional<TextEdit> edit = lines ? EditOfChangedLines(text, *lines) : std::nullopt;
    if (!edit)
        edit = DiffTexts(text, memo.Text());
    if (const std::string lost = memo.TakeUnencodable(); !lost.empty()) {
        // Characters the file's encoding cannot hold never reach the
        // document (they would be saved as '?'): the editor shows the
        // document again and the user is told which they were.
        const size_t caret = edit->offset;
        Show(node);
        memo.SetSelection(std::min(caret, node->Text().size()), 0);
        window_.SetStatusText(2, "“" + lost + "” 无法用 " + TextEncodingName(node->Encoding())
                                     + " 编码保存在这个文件中，没有输入");
        return;
    }
    if (edit->removed.empty() && edit->inserted.empty())
        return;
    fromEditor_ = true;
    const bool applied =
        EditNodeText(*node, *edit, consequence_ ? Document::Joining::Consequence : Document::Joining::User);
    fromEditor_ = false;
    if (!applied)
        return;
    node->Record()->Edited = true;
    Modified = true;
    UpdateHistoryActions();
}

void ProjectWorkspace::TextChanged(Document & /*document*/, const TextEdit &edit)
{
    if (fromEditor_ || !shown_)
        return;
    EditorSurface &memo = window_.Memo();
    PausedLiveEdits paused(memo);  // the program's writes are not edits of the user's
    TextEdit inView = edit;
    if (shown_->Record()->Range != kNoRange) {
        // A procedure's view: the editor takes the difference between what
        // it holds and the block as it now stands (blocks are small).
        inView = DiffTexts(memo.Text(), shown_->Text());
        if (inView.removed.empty() && inView.inserted.empty())
            return;
    }
    memo.SetSelection(inView.offset, inView.removed.size());
    memo.ReplaceSelection(inView.inserted);
    const int first = memo.LineFromChar(inView.offset);
    const int last = memo.LineFromChar(inView.offset + inView.inserted.size());
    // The lines now there, and the lines the edit took away.
    for (int row = first; row <= last; ++row) {
        const std::string line = memo.LineText(row);
        declarationsChanged_ = declarationsChanged_ || IsDeclarationLine(line);
        RecolourLine(memo, row, line, store_);
    }
    for (std::string_view rest = inView.removed; !rest.empty();) {
        const size_t br = rest.find("\r\n");
        declarationsChanged_ = declarationsChanged_ || IsDeclarationLine(rest.substr(0, br));
        rest = br == std::string_view::npos ? std::string_view() : rest.substr(br + 2);
    }
    memo.SetSelection(inView.offset + inView.inserted.size(), 0);
    memo.TakeChangedLines();  // the document holds what the editor now shows
}

void ProjectWorkspace::SelectionChanged(TreeNode *node)
{
    if (!node)
        Show(nullptr);
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
    // Every panel: a hint or a place of the page shown before means nothing now.
    for (int panel : {0, 1, 2, 3})
        window_.SetStatusText(panel, "");
    UpdateHistoryActions();
}

void ProjectWorkspace::UpdateHistoryActions()
{
    window_.SetActionEnabled(ActionId::Undo, CanUndo());
    window_.SetActionEnabled(ActionId::Redo, CanRedo());
    const std::string undo = shownDocument_ ? shownDocument_->UndoLabel() : std::string();
    const std::string redo = shownDocument_ ? shownDocument_->RedoLabel() : std::string();
    window_.SetActionText(ActionId::Undo, undo.empty() ? "撤销" : "撤销 " + undo);
    window_.SetActionText(ActionId::Redo, redo.empty() ? "重做" : "重做 " + redo);
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
    return shownDocument_ && shownDocument_->CanUndo();
}

bool ProjectWorkspace::CanRedo() const
{
    return shownDocument_ && shownDocument_->CanRedo();
}

void ProjectWorkspace::EndUndoStep()
{
    if (shownDocument_)
        shownDocument_->EndUndoStep();
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
    TreeNode *node = shown_;
    EditorSurface &memo = window_.Memo();
    if (!node || !shownDocument_ || !memo.IsLive())
        return false;
    Document &shown = *shownDocument_;
    const std::uint64_t group = undo ? shown.UndoGroup() : shown.RedoGroup();
    declarationsChanged_ = false;
    // The shown document first (the editor follows it through TextChanged),
    // then every other document whose step belongs to the same action.
    const auto step = [&](Document &doc) { return !(undo ? doc.Undo() : doc.Redo()).empty(); };
    if (!step(shown))
        return false;
    node->Record()->Edited = true;
    if (group != 0) {
        std::set<const Document *> done{&shown};
        for (TreeNode *n = tree_.FirstTopLevel(); n; n = tree_.NextInPreOrder(n)) {
            Document *doc = n->Doc();
            if (!doc || !n->IsDocument() || !done.insert(doc).second)
                continue;
            if ((undo ? doc->UndoGroup() : doc->RedoGroup()) == group && step(*doc)) {
                n->Record()->Edited = true;
                if (!n->IsRepeat())
                    ScanNodeDeclarations(store_, *n);
            }
        }
    }
    Modified = true;
    AfterProgramEdits(*node, declarationsChanged_);
    RememberLine(memo.LineFromChar(memo.SelectionStart()));
    UpdateHistoryActions();
    return true;
}

void ProjectWorkspace::AfterProgramEdits(TreeNode &node, bool declarations)
{
    if (declarations)
        ScanNodeDeclarations(store_, node);
    if (!node.IsDocument())
        FollowFunctionHead(&node, FirstLineOf(node.Text()));
    store_.RefreshKeywords();
    if (declarations)
        FollowKeywordChanges(window_.Memo(), store_);
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
    if (shown_ && shown_->IsInside(node))
        Show(nullptr);
    if (CutNode && CutNode->IsInside(node))
        CutNode = nullptr;
}

void ProjectWorkspace::BeforeClear()
{
    CutNode = nullptr;
    Show(nullptr);
}

}  // namespace qasp
