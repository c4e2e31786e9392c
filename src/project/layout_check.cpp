#include "project/layout_check.h"

#include "text/byte_string.h"
#include "text/line_split.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qasp {
namespace {

// The lines that carry content, in a canonical order.
std::vector<std::string> ContentLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (std::string &line : SplitFileLines(bytes)) {
        std::string kept = TrimRight(line);
        const std::string key = LowerAscii(Trim(kept));
        if (key.empty() || key == "<%@codepage=936%>" || key == "<%option explicit%>")
            continue;
        lines.push_back(std::move(kept));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Bytes after a Ctrl-Z are never read, so they would be lost.
bool HasTextAfterCtrlZ(std::string_view bytes)
{
    const size_t stop = bytes.find('\x1a');
    if (stop == std::string_view::npos)
        return false;
    return std::any_of(bytes.begin() + stop, bytes.end(),
                       [](char c) { return c != '\x1a' && !IsBlank(static_cast<unsigned char>(c)); });
}

}  // namespace

bool LayoutGivesBack(std::string_view originalFile, std::string_view written)
{
    return !HasTextAfterCtrlZ(originalFile) && ContentLines(originalFile) == ContentLines(written);
}

}  // namespace qasp
