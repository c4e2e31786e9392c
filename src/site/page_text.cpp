#include "site/page_text.h"

#include "text/byte_string.h"

#include <algorithm>

namespace qasp {

size_t WordEnd(std::string_view page, size_t i, bool gbk)
{
    while (i < page.size() && IsWordByte(page[i]))
        i += PageCharLength(page, i, gbk);
    return std::min(i, page.size());
}

bool WordAt(std::string_view page, size_t i, std::string_view word)
{
    return i <= page.size() && StartsWithNoCase(page.substr(i), word);
}

bool WholeWordAt(std::string_view page, size_t i, std::string_view word)
{
    if (!WordAt(page, i, word))
        return false;
    const size_t after = i + word.size();
    return after == page.size() || !IsWordByte(page[after]);
}

size_t SkipInlineBlanks(std::string_view page, size_t i, size_t end)
{
    while (i < end && IsInlineBlank(page[i]))
        ++i;
    return i;
}

LineIndex::LineIndex(std::string_view page)
{
    starts_.push_back(0);
    for (size_t i = 0; i < page.size();) {
        const size_t br = LineBreakLength(page, i);
        i += br ? br : 1;
        if (br)
            starts_.push_back(i);
    }
}

int LineIndex::LineOf(size_t offset) const
{
    return static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin());
}

}  // namespace qasp
