// The editor routines the typing handlers are made of. Positions are byte
// offsets of the node text (a line break two, a Chinese character two); a
// two-byte character is one unit, never part of a word, never split.
#pragma once

#include <string>
#include <string_view>

namespace qasp {

class CompletionList;
class EditorSurface;
class KeywordStore;

// The run of word characters that ends at the caret.
std::string WordBeforeCaret(const EditorSurface &editor);

struct RowCol {
    int column;
    int row;
};
RowCol CaretRowCol(const EditorSurface &editor);

bool SelectionSpansLines(const EditorSurface &editor);

// Puts the caret at the start of `row` and returns that offset.
size_t MoveCaretToLine(EditorSurface &editor, int row);

// The caret's whole line out of the text, and `position` made the caret's
// offset in it.
std::string CaretLineText(std::string_view text, size_t &position);

int CountQuotesBefore(std::string_view line, size_t offset);

// The store's rows that begin with `prefix`, in the list; a prefix that
// begins with a digit, or one nothing matches, hides the list.
void FillCompletionList(CompletionList &list, std::string_view prefix, const KeywordStore &store);

// Tab (indent) or Shift+Tab on a selection: every line it touches gets a
// tab at its start, or loses one leading tab or space; the lines end up
// selected whole.
void IndentLines(EditorSurface &editor, bool indent);
// Selects lines `first` to `last` whole, without the last one's break.
void SelectWholeLines(EditorSurface &editor, int first, int last);

}  // namespace qasp
