#include "text/file_path.h"

#include "text/gbk.h"

namespace qasp {

size_t LastPathSeparator(std::string_view path, bool slashToo)
{
    size_t last = std::string_view::npos;
    for (size_t i = 0; i < path.size(); i += GbkCharLength(path, i)) {
        const char c = path[i];
        if (c == '\\' || c == ':' || (slashToo && c == '/'))
            last = i;
    }
    return last;
}

std::string ExtractFileDirNoSlash(std::string_view path)
{
    const size_t sep = LastPathSeparator(path, true);
    if (sep == std::string_view::npos)
        return {};
    if (path[sep] == ':')
        return std::string(path.substr(0, sep + 1));
    if (sep == 0)  // "/index.asp": the root keeps its slash
        return std::string(path.substr(0, 1));
    // "C:\index.asp": the drive root's backslash is the one removed.
    return std::string(path.substr(0, sep));
}

std::string JoinPath(std::string_view dir, std::string_view name)
{
    if (dir.empty())
        return std::string(name);
    std::string out(dir);
    const char last = out.back();
    if (last != '/' && last != '\\')
        out += '/';
    out += name;
    return out;
}

}  // namespace qasp
