#include "editor/block_indent.h"

#include "text/byte_string.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qasp {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The words of a line's code in lower case: no comment, no quoted text, no
// script delimiters.
std::vector<std::string> CodeWords(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    const auto flush = [&] {
        if (!word.empty())
            words.push_back(LowerAscii(word));
        word.clear();
    };
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            quoted = c != '"';
            continue;
        }
        if (c == '"') {
            flush();
            words.emplace_back("\"\"");  // a string stands for one word
            quoted = true;
        } else if (c == '\'') {
            break;
        } else if (line.substr(i, 2) == "<%" || line.substr(i, 2) == "%>") {
            flush();
            ++i;
        } else if (IsBlank(c)) {
            flush();
        } else {
            word += c;
        }
    }
    flush();
    if (!words.empty() && words.front() == "=")  // <%= ... %>
        words.erase(words.begin());
    return words;
}

}  // namespace

std::string_view LeadingBlanks(std::string_view line)
{
    size_t n = 0;
    while (n < line.size() && IsBlank(line[n]))
        ++n;
    return line.substr(0, n);
}

int IndentColumns(std::string_view line)
{
    int columns = 0;
    for (char c : LeadingBlanks(line))
        columns += c == '\t' ? 4 : 1;
    return columns;
}

size_t OutdentLength(std::string_view line)
{
    if (!line.empty() && line[0] == '\t')
        return 1;
    size_t spaces = 0;
    while (spaces < 4 && spaces < line.size() && line[spaces] == ' ')
        ++spaces;
    return spaces;
}

bool OpensBlock(std::string_view line)
{
    std::vector<std::string> words = CodeWords(line);
    while (!words.empty()
           && (words.front() == "public" || words.front() == "private" || words.front() == "default"))
        words.erase(words.begin());
    if (words.empty())
        return false;
    const std::string &first = words.front();
    if (first == "if" || first == "elseif")
        return words.size() > 1 && words.back() == "then";
    if (first == "else")
        return words.size() == 1;
    if (first == "select")
        return words.size() > 1 && words[1] == "case";
    static constexpr std::array<std::string_view, 9> kOpeners = {
        "for", "do", "while", "with", "class", "function", "sub", "property", "case"};
    return std::ranges::find(kOpeners, first) != kOpeners.end();
}

bool IsClosingKeywordLine(std::string_view line)
{
    // Blanks inside are typed freely: "End  If" is still End If.
    std::string joined;
    for (const std::string &word : CodeWords(line))
        joined += (joined.empty() ? "" : " ") + word;
    static constexpr std::array<std::string_view, 14> kClosers = {
        "end if", "end function", "end sub", "end property", "end select", "end with", "end class",
        "next",   "loop",         "wend",    "else",         "elseif",     "case",     "case else"};
    return std::ranges::find(kClosers, joined) != kClosers.end();
}

bool OutdentsWhenTyped(std::string_view previous, std::string_view typed)
{
    if (!IsClosingKeywordLine(typed) || OutdentLength(typed) == 0)
        return false;
    // A line already stepped back (Else, then If typed onto it) stays put.
    const int body = IndentColumns(previous);
    return OpensBlock(previous) ? IndentColumns(typed) > body : IndentColumns(typed) >= body;
}

}  // namespace qasp
