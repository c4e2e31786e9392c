#include "editor/block_match.h"

#include "editor/block_indent.h"
#include "editor/char_classes.h"
#include "text/byte_string.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace qasp {
namespace {

struct Word {
    std::string lower;
    size_t column;
    size_t length;
};

// The first words of a line's code, lowered, with where they stand; a
// string or a comment ends them.
std::vector<Word> LeadingWords(std::string_view line, size_t most)
{
    std::vector<Word> words;
    size_t i = 0;
    while (i < line.size() && words.size() < most) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == '\'' || c == '"')
            break;
        if (!IsWordChar(c)) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && IsWordChar(static_cast<unsigned char>(line[i])))
            ++i;
        words.push_back({LowerAscii(line.substr(start, i - start)), start, i - start});
    }
    return words;
}

// One line's block keyword: which block, whether it opens or closes it,
// and where the keyword stands.
struct BlockKeyword {
    std::string block;
    bool opens;
    TextSpan span;
};

std::optional<BlockKeyword> BlockKeywordOf(const std::string &line, int row)
{
    std::vector<Word> words = LeadingWords(line, 4);
    auto first = std::ranges::find_if(words, [](const Word &w) {
        return w.lower != "public" && w.lower != "private" && w.lower != "default";
    });
    if (first == words.end())
        return std::nullopt;
    const auto spanOf = [row](const Word &from, const Word &to) {
        return TextSpan{row, from.column, to.column + to.length - from.column};
    };
    const std::string &w = first->lower;
    const bool hasSecond = first + 1 != words.end();
    if (w == "end" && hasSecond)
        return BlockKeyword{(first + 1)->lower, false, spanOf(*first, *(first + 1))};
    if (w == "select" && hasSecond && (first + 1)->lower == "case")
        return BlockKeyword{"select", true, spanOf(*first, *(first + 1))};
    if (w == "if" && OpensBlock(line))
        return BlockKeyword{"if", true, spanOf(*first, *first)};
    static constexpr std::pair<std::string_view, std::string_view> kOpenClose[] = {
        {"for", "next"}, {"do", "loop"}, {"while", "wend"}};
    for (const auto &[open, close] : kOpenClose) {
        if (w == open)
            return BlockKeyword{std::string(open), true, spanOf(*first, *first)};
        if (w == close)
            return BlockKeyword{std::string(open), false, spanOf(*first, *first)};
    }
    for (const std::string_view named : {"function", "sub", "property", "with", "class"})
        if (w == named)
            return BlockKeyword{w, true, spanOf(*first, *first)};
    return std::nullopt;
}

bool Touches(const TextSpan &span, size_t column)
{
    return column >= span.column && column <= span.column + span.length;
}

std::vector<TextSpan> MatchingKeyword(const std::vector<std::string> &lines, int row, size_t column)
{
    const std::optional<BlockKeyword> here = BlockKeywordOf(lines[static_cast<size_t>(row)], row);
    if (!here || !Touches(here->span, column))
        return {};
    const int step = here->opens ? 1 : -1;
    int depth = 0;
    for (int r = row + step; r >= 0 && r < static_cast<int>(lines.size()); r += step) {
        const std::optional<BlockKeyword> other = BlockKeywordOf(lines[static_cast<size_t>(r)], r);
        if (!other || other->block != here->block)
            continue;
        if (other->opens == here->opens) {
            ++depth;
        } else if (depth-- == 0) {
            return here->opens ? std::vector{here->span, other->span} : std::vector{other->span, here->span};
        }
    }
    return {};
}

// Byte `at` is code: outside strings and before any comment.
bool InCode(std::string_view line, size_t at)
{
    bool quoted = false;
    for (size_t i = 0; i < at; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == '\'' && !quoted)
            return false;
    }
    return !quoted;
}

std::vector<TextSpan> MatchingBracket(const std::string &line, int row, size_t column)
{
    // The bracket just after the caret, else the one just before it.
    std::optional<size_t> at;
    for (const size_t candidate : {column, column - 1})
        if (candidate < line.size() && (line[candidate] == '(' || line[candidate] == ')')) {
            at = candidate;
            break;
        }
    if (!at || !InCode(line, *at))
        return {};
    const bool opens = line[*at] == '(';
    int depth = 0;
    bool quoted = false;
    for (long i = static_cast<long>(*at) + (opens ? 1 : -1); i >= 0 && i < static_cast<long>(line.size());
         i += opens ? 1 : -1) {
        const char c = line[static_cast<size_t>(i)];
        if (c == '"')
            quoted = !quoted;
        if (opens && !quoted && c == '\'')
            break;  // the comment holds no code
        if (quoted || (c != '(' && c != ')'))
            continue;
        if ((c == '(') == opens) {
            ++depth;
        } else if (depth-- == 0) {
            const TextSpan a{row, *at, 1}, b{row, static_cast<size_t>(i), 1};
            return opens ? std::vector{a, b} : std::vector{b, a};
        }
    }
    return {};
}

}  // namespace

std::vector<TextSpan> MatchingPair(const std::vector<std::string> &lines, int row, size_t column)
{
    if (row < 0 || row >= static_cast<int>(lines.size()))
        return {};
    std::vector<TextSpan> pair = MatchingBracket(lines[static_cast<size_t>(row)], row, column);
    return pair.empty() ? MatchingKeyword(lines, row, column) : pair;
}

bool TouchesBlockKeyword(const std::string &line, size_t column)
{
    const std::optional<BlockKeyword> here = BlockKeywordOf(line, 0);
    return here && Touches(here->span, column);
}

}  // namespace qasp
