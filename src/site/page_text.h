// Walking a page's bytes: characters (GBK pairs kept whole), words, line
// breaks and line numbers. Every delimiter the scanners look for is an ASCII
// byte below 0x40, never the second byte of a GBK character; words are
// letters, which can be, so words are read by characters.
#pragma once

#include "text/gbk.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace qasp {

inline size_t PageCharLength(std::string_view page, size_t i, bool gbk)
{
    return gbk ? GbkCharLength(page, i) : 1;
}

constexpr bool IsLineBreakByte(char c)
{
    return c == '\r' || c == '\n';
}

// A blank within a line: space, tab and the other control characters.
constexpr bool IsInlineBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32 && !IsLineBreakByte(c);
}

// Letters, digits, '_' and every non-ASCII character: VBScript names and
// keywords, HTML tag and attribute names.
constexpr bool IsWordByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'
           || u >= 0x80;
}

// 2 for CR LF, 1 for a lone CR or LF, 0 elsewhere.
inline size_t LineBreakLength(std::string_view page, size_t i)
{
    if (i >= page.size() || !IsLineBreakByte(page[i]))
        return 0;
    return page[i] == '\r' && i + 1 < page.size() && page[i + 1] == '\n' ? 2 : 1;
}

// The end of the word that starts at i (i itself when none does).
size_t WordEnd(std::string_view page, size_t i, bool gbk);

// Whether `word` (lower-case ASCII) is at i in any letter case.
bool WordAt(std::string_view page, size_t i, std::string_view word);

// Whether the page at i holds `word` in any letter case, ending there as a
// word: the byte after it is no word byte.
bool WholeWordAt(std::string_view page, size_t i, std::string_view word);

size_t SkipInlineBlanks(std::string_view page, size_t i, size_t end);

// Line numbers of offsets, from 1; CR LF, LF and a lone CR each end a line.
class LineIndex {
public:
    explicit LineIndex(std::string_view page);
    int LineOf(size_t offset) const;

private:
    std::vector<size_t> starts_;
};

}  // namespace qasp
