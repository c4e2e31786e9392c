#include "project/include_path.h"

#include "text/byte_string.h"
#include "text/file_path.h"
#include "text/gbk.h"

namespace qasp {
namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path &p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// Walks `relative` part by part below `base`, each part matched exactly or,
// failing that, without regard to ASCII case.
std::optional<fs::path> FindIgnoringCase(const fs::path &base, const fs::path &relative)
{
    fs::path here = base;
    for (const fs::path &part : relative) {
        const std::string name = part.string();
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            here /= "..";
            continue;
        }
        std::error_code ec;
        if (fs::exists(here / part, ec)) {
            here /= part;
            continue;
        }
        std::optional<fs::path> match;
        for (fs::directory_iterator it(here, ec), end; !ec && it != end; it.increment(ec))
            if (EqualsNoCase(it->path().filename().string(), name)) {
                match = it->path();
                break;
            }
        if (!match)
            return std::nullopt;
        here = *match;
    }
    return IsFile(here) ? std::optional<fs::path>(here) : std::nullopt;
}

}  // namespace

std::optional<fs::path> ResolveIncludePath(std::string_view baseDir, std::string_view path)
{
    // '\' becomes '/', by GBK character: a second byte 0x5C is no separator.
    std::string portable;
    portable.reserve(path.size());
    for (size_t i = 0; i < path.size(); i += GbkCharLength(path, i)) {
        if (GbkCharLength(path, i) == 2)
            portable.append(path.substr(i, 2));
        else
            portable += path[i] == '\\' ? '/' : path[i];
    }
    const fs::path p(portable);
    const fs::path base = baseDir.empty() ? fs::current_path() : fs::path(std::string(baseDir));
    if (p.is_absolute()) {
        if (IsFile(p))
            return p;
        return FindIgnoringCase(base, p.relative_path());
    }
    if (IsFile(base / p))
        return base / p;
    return FindIgnoringCase(base, p);
}

std::string DocumentDisplayName(std::string_view fileName)
{
    if (!fileName.empty() && fileName.front() == '/') {
        const size_t slash = fileName.rfind('/');
        return std::string(fileName.substr(slash + 1));
    }
    bool hasBackslash = false;
    for (size_t i = 0; i < fileName.size(); i += GbkCharLength(fileName, i))
        hasBackslash = hasBackslash || fileName[i] == '\\';
    if (!hasBackslash)
        return std::string(fileName);
    return std::string(fileName.substr(LastPathSeparator(fileName, false) + 1));
}

}  // namespace qasp
