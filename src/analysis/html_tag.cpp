#include "analysis/html_tag.h"

#include "site/page_text.h"
#include "text/byte_string.h"

#include <algorithm>
#include <cctype>

namespace qasp::analysis {
namespace {

bool EndsName(char c)
{
    return IsBlank(c) || c == '>' || c == '<' || c == '=' || c == '/';
}

}  // namespace

std::vector<TagAttribute> ReadTagAttributes(std::string_view text, size_t from, bool gbk)
{
    std::vector<TagAttribute> attributes;
    const size_t n = text.size();
    size_t i = from;
    while (i < n && text[i] != '>' && text[i] != '<') {
        if (IsBlank(text[i]) || text[i] == '/') {
            ++i;
            continue;
        }
        const size_t nameBegin = i;
        while (i < n && !EndsName(text[i]))
            i += PageCharLength(text, i, gbk);
        TagAttribute a;
        a.name = text.substr(nameBegin, i - nameBegin);
        std::transform(a.name.begin(), a.name.end(), a.name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        size_t v = i;
        while (v < n && IsBlank(text[v]))
            ++v;
        if (a.name.empty() || v >= n || text[v] != '=') {
            if (!a.name.empty())
                attributes.push_back(std::move(a));
            i = std::max(i, nameBegin + 1);
            continue;
        }
        for (++v; v < n && IsBlank(text[v]);)
            ++v;
        size_t valueBegin = v, valueEnd;
        if (v < n && (text[v] == '"' || text[v] == '\'')) {
            const char quote = text[v];
            valueBegin = ++v;
            while (v < n && text[v] != quote && text[v] != '>')
                v += PageCharLength(text, v, gbk);
            valueEnd = v;
            if (v < n && text[v] == quote)
                ++v;
        } else {
            while (v < n && !IsBlank(text[v]) && text[v] != '>')
                v += PageCharLength(text, v, gbk);
            valueEnd = v;
        }
        a.value = Trim(text.substr(valueBegin, std::min(valueEnd, n) - valueBegin));
        attributes.push_back(std::move(a));
        i = v;
    }
    return attributes;
}

std::string AttributeValue(const std::vector<TagAttribute> &attributes, std::string_view name)
{
    for (const TagAttribute &a : attributes)
        if (a.name == name)
            return a.value;
    return {};
}

}  // namespace qasp::analysis
