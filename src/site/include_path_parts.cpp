#include "site/include_path_parts.h"

#include "text/gbk.h"

namespace qasp {

std::string PortableSeparators(std::string_view path, bool gbk)
{
    std::string portable;
    portable.reserve(path.size());
    for (size_t i = 0; i < path.size();) {
        const size_t n = gbk ? GbkCharLength(path, i) : 1;
        if (n == 1 && path[i] == '\\')
            portable += '/';
        else
            portable.append(path.substr(i, n));
        i += n;
    }
    return portable;
}

std::vector<std::string> IncludePathParts(std::string_view path, bool gbk, bool *rooted)
{
    // '/' is never the second byte of a GBK character: the portable text can
    // be cut at every '/'.
    const std::string portable = PortableSeparators(path, gbk);
    if (rooted)
        *rooted = !portable.empty() && portable[0] == '/';
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= portable.size()) {
        size_t end = portable.find('/', start);
        if (end == std::string::npos)
            end = portable.size();
        std::string part = portable.substr(start, end - start);
        if (!part.empty() && part != ".")
            parts.push_back(std::move(part));
        start = end + 1;
    }
    return parts;
}

}  // namespace qasp
