#include "editor/editor_routines.h"

#include "editor/char_classes.h"
#include "editor/completion_list.h"
#include "editor/editor_surface.h"
#include "editor/keyword_store.h"
#include "text/gbk.h"

namespace qasp {

std::string WordBeforeCaret(const EditorSurface &editor)
{
    const size_t caret = editor.SelectionStart();
    const int row = editor.LineFromChar(caret);
    const std::string line = editor.LineText(row);
    const size_t column = std::min(caret - editor.LineIndex(row), line.size());
    // Walk from the line's start: only then is it known which bytes are the
    // second halves of Chinese characters.
    size_t wordStart = 0;
    for (size_t i = 0; i < column;) {
        const size_t length = GbkCharLength(line, i);
        if (length == 2 || !IsWordChar(static_cast<unsigned char>(line[i])))
            wordStart = i + length;
        i += length;
    }
    return wordStart < column ? line.substr(wordStart, column - wordStart) : std::string();
}

RowCol CaretRowCol(const EditorSurface &editor)
{
    const size_t caret = editor.SelectionStart();
    const int row = editor.LineFromChar(caret);
    return {static_cast<int>(caret - editor.LineIndex(row)), row};
}

bool SelectionSpansLines(const EditorSurface &editor)
{
    const size_t start = editor.SelectionStart();
    const size_t length = editor.SelectionLength();
    return length > 1 && editor.LineFromChar(start) != editor.LineFromChar(start + length);
}

size_t MoveCaretToLine(EditorSurface &editor, int row)
{
    const size_t position = row == 0 ? 0 : editor.LineIndex(row);
    editor.SetSelection(position, 0);
    return position;
}

std::string CaretLineText(std::string_view text, size_t &position)
{
    for (size_t br; (br = text.find("\r\n")) != std::string_view::npos && br + 2 <= position;) {
        text.remove_prefix(br + 2);
        position -= br + 2;
    }
    return std::string(text.substr(0, text.find("\r\n")));
}

int CountQuotesBefore(std::string_view line, size_t offset)
{
    int quotes = 0;
    for (size_t i = 0; i < std::min(offset, line.size()); ++i)
        quotes += line[i] == '"';  // 0x22 is never the second byte of a character
    return quotes;
}

void FillCompletionList(CompletionList &list, std::string_view prefix, const KeywordStore &store)
{
    list.Clear();
    if (prefix.empty() || IsDigitChar(static_cast<unsigned char>(prefix[0]))) {
        list.Hide();
        return;
    }
    const auto rows = store.ListKeywords(prefix);
    if (rows.empty()) {
        list.Hide();
        return;
    }
    for (const KeywordRow *row : rows)
        list.AddItem(row->name, row->hint, row->type);
    list.Highlight(0);
    list.Show();
}

void IndentLines(EditorSurface &editor, bool indent)
{
    if (editor.SelectionLength() <= 1)
        return;
    const size_t selStart = editor.SelectionStart();
    const int first = editor.LineFromChar(selStart);
    const int last = editor.LineFromChar(selStart + editor.SelectionLength());
    for (int row = first; row <= last; ++row) {
        const size_t at = MoveCaretToLine(editor, row);
        if (indent) {
            editor.ReplaceSelection("\t");
        } else {
            const std::string line = editor.LineText(row);
            if (!line.empty() && (line[0] == '\t' || line[0] == ' ')) {
                editor.SetSelection(at, 1);
                editor.ReplaceSelection("");
            }
        }
    }
    SelectWholeLines(editor, first, last);
}

void SelectWholeLines(EditorSurface &editor, int first, int last)
{
    const size_t start = editor.LineIndex(first);
    editor.SetSelection(start, editor.LineIndex(last) + editor.LineText(last).size() - start);
}

}  // namespace qasp
