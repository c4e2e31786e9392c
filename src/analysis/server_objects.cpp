#include "analysis/server_objects.h"

#include "site/page_text.h"
#include "text/byte_string.h"

#include <algorithm>
#include <cctype>

namespace qasp::analysis {
namespace {

bool EndsName(char c)
{
    return IsBlank(c) || c == '>' || c == '=' || c == '/';
}

std::string Lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::vector<ServerObject> ServerObjectsIn(std::string_view html, bool gbk)
{
    std::vector<ServerObject> found;
    const size_t n = html.size();
    for (size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
        if (!WordAt(html, at + 1, "object") || (at + 7 < n && !EndsName(html[at + 7])))
            continue;
        bool server = false;
        ServerObject object;
        size_t i = at + 7;
        while (i < n && html[i] != '>' && html[i] != '<') {
            if (IsBlank(html[i]) || html[i] == '/') {
                ++i;
                continue;
            }
            const size_t nameBegin = i;
            while (i < n && !EndsName(html[i]) && html[i] != '<')
                i += PageCharLength(html, i, gbk);
            const std::string_view name = html.substr(nameBegin, i - nameBegin);
            while (i < n && IsBlank(html[i]))
                ++i;
            if (name.empty() || i >= n || html[i] != '=') {
                i = std::max(i, nameBegin + 1);
                continue;
            }
            for (++i; i < n && IsBlank(html[i]);)
                ++i;
            size_t valueBegin = i, valueEnd;
            if (i < n && (html[i] == '"' || html[i] == '\'')) {
                const char quote = html[i];
                valueBegin = ++i;
                while (i < n && html[i] != quote && html[i] != '>')
                    i += PageCharLength(html, i, gbk);
                valueEnd = i;
                if (i < n && html[i] == quote)
                    ++i;
            } else {
                while (i < n && !IsBlank(html[i]) && html[i] != '>')
                    i += PageCharLength(html, i, gbk);
                valueEnd = i;
            }
            const std::string value = Trim(html.substr(valueBegin, valueEnd - valueBegin));
            if (EqualsNoCase(name, "runat"))
                server = EqualsNoCase(value, "server");
            else if (EqualsNoCase(name, "id"))
                object.id = value;
            else if (EqualsNoCase(name, "scope"))
                object.scope = Lower(value);
        }
        if (server && !object.id.empty())
            found.push_back(std::move(object));
    }
    return found;
}

}  // namespace qasp::analysis
