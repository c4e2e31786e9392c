#include "analysis/server_objects.h"

#include "analysis/html_tag.h"
#include "site/page_text.h"
#include "text/byte_string.h"

#include <algorithm>
#include <cctype>

namespace qasp::analysis {

std::vector<ServerObject> ServerObjectsIn(std::string_view html, bool gbk)
{
    std::vector<ServerObject> found;
    for (size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
        const size_t nameEnd = at + 7;
        if (!WordAt(html, at + 1, "object")
            || (nameEnd < html.size() && !IsBlank(html[nameEnd]) && html[nameEnd] != '>'
                && html[nameEnd] != '/'))
            continue;
        const std::vector<TagAttribute> attributes = ReadTagAttributes(html, nameEnd, gbk);
        ServerObject object{AttributeValue(attributes, "id"), AttributeValue(attributes, "scope")};
        std::transform(object.scope.begin(), object.scope.end(), object.scope.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (EqualsNoCase(AttributeValue(attributes, "runat"), "server") && !object.id.empty())
            found.push_back(std::move(object));
    }
    return found;
}

}  // namespace qasp::analysis
