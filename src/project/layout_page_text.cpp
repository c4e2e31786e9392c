#include "project/layout_page_text.h"

#include "text/byte_string.h"
#include "text/line_split.h"

namespace qasp {

std::string LayoutPageText(std::string_view documentText)
{
    // The layout is code page 936, which has no byte-order mark.
    if (documentText.starts_with("\xEF\xBB\xBF"))
        documentText.remove_prefix(3);
    std::string page;
    FileLineReader lines(documentText);
    std::string raw;
    while (lines.Next(raw)) {
        const std::string line = TrimRight(raw);
        const std::string trimmed = Trim(line);
        if (StartsWithNoCase(line, "<!--#include "))
            continue;
        if (trimmed == "<%") {
            page.clear();
        } else if (trimmed == "%>") {
            break;
        } else if (!trimmed.empty()) {
            if (!page.empty())
                page += "\r\n";
            page += line;
        }
    }
    return page;
}

std::string_view WithoutFinalLineBreak(std::string_view text)
{
    if (text.ends_with("\r\n"))
        return text.substr(0, text.size() - 2);
    if (text.ends_with('\n') || text.ends_with('\r'))
        return text.substr(0, text.size() - 1);
    return text;
}

}  // namespace qasp
