#include "project/editor_keys.h"

#include "editor/char_classes.h"
#include "editor/block_indent.h"
#include "editor/colour_table.h"
#include "editor/colouring.h"
#include "editor/completion_acceptance.h"
#include "editor/completion_list.h"
#include "editor/declaration_scan.h"
#include "editor/editor_routines.h"
#include "editor/editor_surface.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "editor/line_comments.h"
#include "editor/member_completion.h"
#include "editor/paused_live_edits.h"
#include "project/document_assembly.h"
#include "project/file_lines.h"
#include "project/node_script.h"
#include "project/project_search.h"
#include "project/window_surface.h"
#include "project/workspace.h"
#include "text/byte_string.h"
#include "text/function_name.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <optional>

namespace qasp {
namespace {

// The caret's line up to the word that ends at the caret.
std::string LineBeforeWord(const EditorSurface &memo)
{
    const size_t caret = memo.SelectionStart();
    const int row = memo.LineFromChar(caret);
    return memo.LineText(row).substr(0, caret - memo.LineIndex(row) - WordBeforeCaret(memo).size());
}

bool MovesTheCaret(EditorKey key)
{
    switch (key) {
    case EditorKey::PageUp:
    case EditorKey::PageDown:
    case EditorKey::End:
    case EditorKey::Home:
    case EditorKey::Left:
    case EditorKey::Up:
    case EditorKey::Right:
    case EditorKey::Down: return true;
    case EditorKey::Tab:
    case EditorKey::F3: return false;
    }
    return false;
}

}  // namespace

EditorKeys::EditorKeys(ProjectWorkspace &ws, CompletionList &list, Prompter &prompter)
    : ws_(ws),
      list_(list),
      prompter_(prompter)
{
}

void EditorKeys::CMemoSelectionChange()
{
    EditorSurface &memo = ws_.Window().Memo();
    // Inside the rescan below the line is written again; the caret's
    // place is shown once that is done.
    if (!memo.IsLive() || inSelectionChange_)
        return;
    if (memo.SelectionLength() != 0) {
        ShowCaretPlace();  // a growing selection: the caret moves all the same
        return;
    }
    const RowCol caret = CaretRowCol(memo);
    if (caret.row != ws_.LastLine) {
        inSelectionChange_ = true;
        try {
            list_.Hide();
            RescanLeftLine(caret.row);
        } catch (...) {
            inSelectionChange_ = false;
            throw;
        }
        inSelectionChange_ = false;
        // Back to the same row and column: the line written above may have
        // lost trailing blanks before the caret.
        memo.SetSelection(memo.LineIndex(caret.row) + static_cast<size_t>(caret.column), 0);
    }
    ShowCaretPlace();
    list_.PlaceAtCaret();
}

void EditorKeys::ShowCaretPlace()
{
    const EditorSurface &memo = ws_.Window().Memo();
    const size_t caret = memo.CaretOffset();
    const int row = memo.LineFromChar(caret);
    const size_t column = caret - memo.LineIndex(row);
    // The server's messages name the file's line, so the status does too.
    FilePosition place{row + 1, static_cast<int>(column) + 1};
    if (const TreeNode *node = ws_.Tree().Selected())
        place = FilePositionOf(*node, row, memo.LineText(row), column);
    ws_.Window().SetStatusText(1,
                               "行 " + std::to_string(place.line) + "，列 " + std::to_string(place.column));
}

namespace {

// Whether byte `offset` of a document's text lies in one of its procedures.
bool InsideProcedure(const TreeNode &document, size_t offset)
{
    for (const TreeNode *p : ProceduresInFileOrder(document)) {
        const size_t begin = p->Record()->Begin();
        if (offset >= begin && offset < begin + p->Text().size())
            return true;
    }
    return false;
}

}  // namespace

void EditorKeys::RescanLeftLine(int row)
{
    EditorSurface &memo = ws_.Window().Memo();
    TreeNode *node = ws_.Tree().Selected();
    const std::string left = memo.LineText(ws_.LastLine);
    const bool changed = left != ws_.LastLineText;
    bool rescanned = false;
    if (node && changed && IsDeclarationLine(left)) {
        // A document's names are only ever added while it is open, so the
        // line's own declarations are all a rescan would change (the line
        // just written gives a name declared twice its hint). A procedure's
        // locals are its own: scanned again whole, they drop a name gone.
        // A line inside a procedure's block of the document declares that
        // procedure's locals, no globals.
        const std::optional<PageState> start =
            node->IsDocument() ? memo.LineStartState(ws_.LastLine) : std::nullopt;
        if (start && !InsideProcedure(*node, memo.LineIndex(ws_.LastLine)))
            ScanDeclarations(ws_.Store(), KeywordTable::Public, ScriptOfLine(left, *start, node->Encoding()));
        else if (!start)
            ScanNodeDeclarations(ws_.Store(), *node);
        rescanned = true;
    }
    if (node && changed && IsProcedureHead(left)) {
        // A function's head names its node; a document keeps its file name.
        if (node->IsDocument()) {
            ws_.Store().RemoveFunction(node->DisplayText());
            RegisterFunctionKeyword(ws_.Store(), Trim(FirstLineOf(left)));
        } else {
            ws_.FollowFunctionHead(node, FirstLineOf(left));
        }
        rescanned = true;
    }
    if (rescanned) {
        ws_.Store().RefreshKeywords();
        FollowKeywordChanges(memo, ws_.Store());  // a name declared or gone recolours its uses
        // The line's words take their stored spelling as part of the edit
        // that changed the line.
        ProjectWorkspace::Consequence consequence(ws_);
        ColourLine(memo, ws_.LastLine, left, ws_.Store());
    }
    ws_.RememberLine(row);
}

bool EditorKeys::CMemoKeyPress(char32_t character)
{
    EditorSurface &memo = ws_.Window().Memo();
    if (!memo.IsLive())
        return false;
    if (character == '\t' && SelectionSpansLines(memo))
        return true;  // indented on key down
    if (character == 27 && list_.IsVisible()) {
        list_.Hide();
        return true;
    }
    // A word already whole needs nothing from the list: Enter breaks the
    // line and Tab is typed, as they would be without it. Enter leaves a
    // new name as typed too.
    if ((character == '\r' || character == '\t') && list_.IsVisible()) {
        const std::string word = WordBeforeCaret(memo);
        if (!IsWholeWordOfList(list_, word)
            && (character == '\t' || !NamesSomethingNew(LineBeforeWord(memo)))) {
            AcceptCompletion();
            return true;
        }
        list_.Hide();
    }
    if (character == '\r') {
        BreakLineKeepingIndent();
        return true;
    }
    // The list closes and the character is typed as itself; only when the
    // user asked for it does the highlighted item take the word's place
    // first. Either way the list never eats what was typed.
    if (list_.IsVisible() && EndsAWord(character)) {
        if (completeOnWordEnd_ && !IsWholeWordOfList(list_, WordBeforeCaret(memo))
            && !NamesSomethingNew(LineBeforeWord(memo)))
            AcceptCompletion();
        list_.Hide();
    }

    const size_t caret = memo.SelectionStart();
    const int row = memo.LineFromChar(caret);
    const std::string line = memo.LineText(row);
    const size_t offset = caret - memo.LineIndex(row);
    const bool ascii = character < 0x80;
    const char c = ascii ? static_cast<char>(character) : '\0';

    if (!line.empty() && ascii && FirstToken(line + c) == "'") {
        memo.SetInsertionColour(ColourOfKeyType(kComment));
        return false;
    }
    if ((!line.empty() && CountQuotesBefore(line, offset) % 2 == 1) || c == '"') {
        memo.SetInsertionColour(ColourOfKeyType(kString));
        return false;
    }
    if (line.empty() && c == '\'') {
        memo.SetInsertionColour(ColourOfKeyType(kComment));
        return false;
    }
    memo.SetInsertionColour(ColourOfKeyType(kNoEntry));
    if (ascii && IsWordChar(static_cast<unsigned char>(c))) {
        if (memo.SelectionLength() == 0 && offset == line.size())
            OutdentClosingKeyword(row, line + c);
        // The line as it is now: the step back may have shortened it.
        const std::string word = WordBeforeCaret(memo);
        if (!ListMembers(LineBeforeWord(memo), word + c))
            FillCompletionList(list_, word + c, ws_.Store());
        return false;
    }
    if (c == '.' && ListMembers(line.substr(0, offset) + c, ""))
        return false;
    list_.Hide();
    return false;
}

bool EditorKeys::ListMembers(const std::string &before, const std::string &prefix)
{
    const std::string name = WordBeforeDot(before);
    if (name.empty())
        return false;
    EditorSurface &memo = ws_.Window().Memo();
    // The lines above the caret's, from the node, which holds what the
    // editor shows: a long page is not read out of the editor on every key.
    const size_t lineStart = memo.LineIndex(memo.LineFromChar(memo.SelectionStart()));
    const TreeNode *node = ws_.Tree().Selected();
    std::string shown;
    std::string_view above;
    if (node && lineStart <= node->Text().size()) {
        above = node->Text().substr(0, lineStart);
    } else {
        shown = memo.Text();
        above = std::string_view(shown).substr(0, std::min(lineStart, shown.size()));
    }
    const std::optional<std::string> object = ObjectNamed(name, above);
    return object && FillMemberList(list_, *object, prefix);
}

void EditorKeys::OutdentClosingKeyword(int row, const std::string &typed)
{
    EditorSurface &memo = ws_.Window().Memo();
    std::string previous;
    for (int above = row - 1; above >= 0 && LeadingBlanks(previous).size() == previous.size(); --above)
        previous = memo.LineText(above);
    if (!OutdentsWhenTyped(previous, typed))
        return;
    // The step back belongs to the typing run: undoing the word undoes both.
    const size_t caret = memo.SelectionStart();
    const size_t removed = OutdentLength(typed);
    memo.SetSelection(memo.LineIndex(row), removed);
    memo.ReplaceSelection("");
    memo.SetSelection(caret - removed, 0);
}

void EditorKeys::BreakLineKeepingIndent()
{
    EditorSurface &memo = ws_.Window().Memo();
    list_.Hide();
    const size_t caret = memo.SelectionStart();
    const int row = memo.LineFromChar(caret);
    const std::string before = memo.LineText(row).substr(0, caret - memo.LineIndex(row));
    std::string indent(LeadingBlanks(before));
    if (OpensBlock(before))
        indent += '\t';
    memo.SetInsertionColour(ColourOfKeyType(kNoEntry));
    memo.ReplaceSelection("\r\n" + indent);
}

template <typename Write> void EditorKeys::AsOneUndoStep(Write &&write)
{
    ws_.EndUndoStep();
    bool wrote = false;
    {
        PausedLiveEdits paused(ws_.Window().Memo());
        wrote = write();
    }
    if (!wrote)
        return;
    ws_.CMemoChange();
    ws_.EndUndoStep();
}

void EditorKeys::OutdentLines()
{
    EditorSurface &memo = ws_.Window().Memo();
    list_.Hide();
    AsOneUndoStep([&] {
        if (SelectionSpansLines(memo)) {
            IndentLines(memo, false);
            return true;
        }
        const size_t caret = memo.SelectionStart();
        const int row = memo.LineFromChar(caret);
        const size_t start = memo.LineIndex(row);
        const size_t removed = OutdentLength(memo.LineText(row));
        if (removed == 0)
            return false;
        memo.SetSelection(start, removed);
        memo.ReplaceSelection("");
        memo.SetSelection(caret - std::min(removed, caret - start), 0);
        return true;
    });
}

void EditorKeys::ToggleComments()
{
    EditorSurface &memo = ws_.Window().Memo();
    if (!memo.IsLive())
        return;
    list_.Hide();
    AsOneUndoStep([&] {
        memo.SetInsertionColour(ColourOfKeyType(kComment));
        const auto [first, last] = ToggleLineComments(memo);
        const size_t start = memo.SelectionStart();
        const size_t length = memo.SelectionLength();
        for (int row = first; row <= last; ++row)
            ColourLine(memo, row, memo.LineText(row), ws_.Store());
        memo.SetSelection(start, length);
        return true;
    });
    CMemoSelectionChange();
}

void EditorKeys::AcceptCompletion()
{
    EditorSurface &memo = ws_.Window().Memo();
    const int item = list_.Highlighted();
    const std::string word = WordBeforeCaret(memo);
    const size_t caret = memo.SelectionStart();
    // The word's replacement is one step of its own in the undo history.
    AsOneUndoStep([&] {
        memo.SetSelection(caret - word.size(), word.size());
        memo.SetInsertionColour(ColourOfKeyType(list_.Icon(item)));
        memo.ReplaceSelection(list_.Caption(item));
        return true;
    });
    ws_.Window().SetStatusText(2, GbkToUtf8(list_.Hint(item)));
    list_.Hide();
    CMemoSelectionChange();  // the caret moved while the program wrote
}

bool EditorKeys::CMemoKeyDown(EditorKey key, bool shift)
{
    EditorSurface &memo = ws_.Window().Memo();
    if (MovesTheCaret(key))
        ws_.EndUndoStep();  // typing after the caret's move is a new step
    if (key == EditorKey::Tab && shift && memo.IsLive()) {
        OutdentLines();
        return true;
    }
    if (key == EditorKey::Tab && SelectionSpansLines(memo)) {
        AsOneUndoStep([&] {
            IndentLines(memo, !shift);
            return true;
        });
        return true;
    }
    if (key == EditorKey::F3 && !ws_.SearchText.empty()) {
        std::optional<size_t> at = FindInNode(ws_.Tree().Selected(), ws_.SearchText,
                                              memo.SelectionStart() + memo.SelectionLength(), prompter_);
        if (!at)
            at = FindInProject(ws_, ws_.SearchText, prompter_);
        if (at)
            memo.SetSelection(*at, ws_.SearchText.size());
        return true;
    }
    if (!list_.IsVisible())
        return false;
    switch (key) {
    case EditorKey::PageUp:
    case EditorKey::PageDown:
    case EditorKey::Left:
    case EditorKey::Right: list_.Hide(); return false;
    case EditorKey::Up:
        list_.Highlight(list_.Highlighted() > 0 ? list_.Highlighted() - 1 : list_.Count() - 1);
        return true;
    case EditorKey::Down:
        list_.Highlight(list_.Highlighted() + 1 < list_.Count() ? list_.Highlighted() + 1 : 0);
        return true;
    default: return false;
    }
}

void EditorKeys::CMemoExit()
{
    if (list_.IsVisible())
        list_.Hide();
}

}  // namespace qasp
