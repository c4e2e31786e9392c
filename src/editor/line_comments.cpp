#include "editor/line_comments.h"

#include "editor/block_indent.h"
#include "editor/editor_routines.h"
#include "editor/editor_surface.h"

#include <algorithm>

namespace qasp {
namespace {

bool IsBlankLine(const std::string &line)
{
    return LeadingBlanks(line).size() == line.size();
}

bool IsCommented(const std::string &line)
{
    const size_t at = LeadingBlanks(line).size();
    return at < line.size() && line[at] == '\'';
}

}  // namespace

std::vector<std::string> ToggledLineComments(const std::vector<std::string> &lines)
{
    const bool uncomment =
        std::ranges::any_of(lines, [](const std::string &l) { return !IsBlankLine(l); })
        && std::ranges::all_of(lines, [](const std::string &l) { return IsBlankLine(l) || IsCommented(l); });
    std::vector<std::string> out = lines;
    for (std::string &line : out) {
        if (IsBlankLine(line))
            continue;
        const size_t at = LeadingBlanks(line).size();
        if (uncomment)
            line.erase(at, 1);
        else
            line.insert(at, 1, '\'');
    }
    return out;
}

std::pair<int, int> ToggleLineComments(EditorSurface &editor)
{
    const size_t selStart = editor.SelectionStart();
    const size_t selLength = editor.SelectionLength();
    const bool overLines = SelectionSpansLines(editor);
    const int first = editor.LineFromChar(selStart);
    int last = editor.LineFromChar(selStart + selLength);
    // A selection that ends at the start of a line leaves that line alone.
    if (overLines && editor.LineIndex(last) == selStart + selLength)
        --last;
    std::vector<std::string> lines;
    for (int row = first; row <= last; ++row)
        lines.push_back(editor.LineText(row));
    const std::vector<std::string> toggled = ToggledLineComments(lines);

    long caretShift = 0;
    for (int row = first; row <= last; ++row) {
        const std::string &before = lines[static_cast<size_t>(row - first)];
        const std::string &after = toggled[static_cast<size_t>(row - first)];
        if (before == after)
            continue;
        const size_t at = LeadingBlanks(before).size();
        editor.SetSelection(editor.LineIndex(row) + at, before.size() > after.size() ? 1 : 0);
        editor.ReplaceSelection(before.size() > after.size() ? "" : "'");
        if (row == first && selStart - editor.LineIndex(row) > at)
            caretShift = static_cast<long>(after.size()) - static_cast<long>(before.size());
    }
    if (overLines) {
        SelectWholeLines(editor, first, last);
    } else {
        editor.SetSelection(static_cast<size_t>(static_cast<long>(selStart) + caretShift), selLength);
    }
    return {first, last};
}

}  // namespace qasp
