#include "site/server_block.h"

#include "site/page_text.h"
#include "text/byte_string.h"

namespace qasp {
namespace {

bool CloseAt(std::string_view page, size_t i)
{
    return page[i] == '%' && i + 1 < page.size() && page[i + 1] == '>';
}

}  // namespace

size_t FindServerBlockEnd(std::string_view page, size_t from, bool gbk)
{
    const size_t n = page.size();
    bool afterWord = false;  // a Rem right after a name or '.' is part of it
    size_t i = from;
    while (i < n) {
        const char c = page[i];
        if (CloseAt(page, i))
            return i;
        if (c == '"') {
            // A string ends at its closing quote ("" is a quote inside it) or,
            // unclosed, at the line's end.
            for (++i; i < n && !IsLineBreakByte(page[i]);) {
                if (page[i] == '"') {
                    if (i + 1 < n && page[i + 1] == '"') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                i += PageCharLength(page, i, gbk);
            }
            afterWord = false;
            continue;
        }
        if (c == '\'' || (!afterWord && WordAt(page, i, "rem") && (i + 3 == n || IsBlank(page[i + 3])))) {
            for (; i < n && !IsLineBreakByte(page[i]); i += PageCharLength(page, i, gbk))
                if (CloseAt(page, i))
                    return i;
            afterWord = false;
            continue;
        }
        afterWord = IsWordByte(c) || c == '.';
        i += PageCharLength(page, i, gbk);
    }
    return std::string_view::npos;
}

}  // namespace qasp
