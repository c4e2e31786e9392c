#include "site/script_element.h"

#include "site/page_text.h"
#include "text/byte_string.h"

#include <algorithm>
#include <string>

namespace qasp {
namespace {

std::string_view NameText(ElementName name)
{
    return name == ElementName::Script ? "script" : "style";
}

// The tag name ends at a blank, '>' or '/' ("<scripts>" is another tag).
bool TagNameEndsAt(std::string_view page, size_t i)
{
    return i >= page.size() || IsBlank(page[i]) || page[i] == '>' || page[i] == '/';
}

bool EndsAttribute(char c)
{
    return IsBlank(c) || c == '>' || c == '<' || c == '=' || c == '/';
}

}  // namespace

std::optional<ElementStart> ReadElementStart(std::string_view page, size_t at, bool gbk)
{
    ElementStart e;
    if (WordAt(page, at + 1, "script") && TagNameEndsAt(page, at + 7)) {
        e.name = ElementName::Script;
        e.nameEnd = at + 7;
    } else if (WordAt(page, at + 1, "style") && TagNameEndsAt(page, at + 6)) {
        e.name = ElementName::Style;
        e.nameEnd = at + 6;
    } else {
        return std::nullopt;
    }
    const size_t n = page.size();
    size_t i = e.nameEnd;
    while (i < n) {
        if (IsBlank(page[i]) || page[i] == '/') {
            ++i;
            continue;
        }
        if (page[i] == '<')
            break;
        if (page[i] == '>') {
            e.tagEnd = i + 1;
            break;
        }
        const size_t nameBegin = i;
        while (i < n && !EndsAttribute(page[i]))
            i += PageCharLength(page, i, gbk);
        const std::string_view attribute = page.substr(nameBegin, i - nameBegin);
        size_t v = i;
        while (v < n && IsBlank(page[v]))
            ++v;
        if (v >= n || page[v] != '=' || attribute.empty()) {
            i = std::max(i, nameBegin + 1);
            continue;
        }
        for (++v; v < n && IsBlank(page[v]);)
            ++v;
        size_t valueBegin = v, valueEnd;
        if (v < n && (page[v] == '"' || page[v] == '\'')) {
            const char quote = page[v];
            valueBegin = ++v;
            while (v < n && page[v] != quote && page[v] != '<' && page[v] != '>')
                v += PageCharLength(page, v, gbk);
            valueEnd = v;
            if (v < n && page[v] == quote)
                ++v;
        } else {
            while (v < n && !IsBlank(page[v]) && page[v] != '>' && page[v] != '<')
                v += PageCharLength(page, v, gbk);
            valueEnd = v;
        }
        const std::string value = Trim(page.substr(valueBegin, valueEnd - valueBegin));
        if (EqualsNoCase(attribute, "runat"))
            e.runatServer = EqualsNoCase(value, "server");
        else if (EqualsNoCase(attribute, "language"))
            e.vbscript = EqualsNoCase(value, "vbscript") || EqualsNoCase(value, "vbs");
        i = v;
    }
    return e;
}

size_t EndTagEnd(std::string_view page, size_t at, ElementName name)
{
    const std::string_view text = NameText(name);
    if (page.substr(at, 2) != "</" || !WordAt(page, at + 2, text)
        || !TagNameEndsAt(page, at + 2 + text.size()))
        return std::string_view::npos;
    size_t i = at + 2 + text.size();
    for (size_t j = i; j < page.size() && page[j] != '<'; ++j)
        if (page[j] == '>')
            return j + 1;
    return i;
}

}  // namespace qasp
