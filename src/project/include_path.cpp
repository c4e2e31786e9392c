#include "project/include_path.h"

#include "text/byte_string.h"
#include "text/file_path.h"
#include "text/gbk.h"
#include "text/gbk_codec.h"

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

std::optional<fs::path> Find(const fs::path &base, const fs::path &p)
{
    if (p.is_absolute()) {
        if (IsFile(p))
            return p;
        return FindIgnoringCase(base, p.relative_path());
    }
    if (IsFile(base / p))
        return base / p;
    return FindIgnoringCase(base, p);
}

// '\' becomes '/', by GBK character: a second byte 0x5C is no separator.
std::string PortableSeparators(std::string_view path)
{
    std::string portable;
    portable.reserve(path.size());
    for (size_t i = 0; i < path.size(); i += GbkCharLength(path, i)) {
        if (GbkCharLength(path, i) == 2)
            portable.append(path.substr(i, 2));
        else
            portable += path[i] == '\\' ? '/' : path[i];
    }
    return portable;
}

}  // namespace

std::optional<fs::path> ResolveIncludePath(const fs::path &baseDir, std::string_view includePath)
{
    const std::string portable = PortableSeparators(includePath);
    const fs::path base = baseDir.empty() ? fs::current_path() : baseDir;
    const std::string utf8 = GbkToUtf8(portable);
    if (auto found = Find(base, fs::path(utf8)))
        return found;
    if (utf8 != portable)
        return Find(base, fs::path(portable));
    return std::nullopt;
}

std::string DocumentDisplayName(std::string_view includePath)
{
    // The include line's path as written ("inc\\conn.asp", "/inc/conn.asp"):
    // cutting it to the bare file name made the writer write the include
    // line anew pointing at another file, and the file itself beside the
    // page, over whatever file of that name was there.
    return std::string(includePath);
}

std::string RootDisplayName(const fs::path &file)
{
    const std::string name = file.filename().string();
    bool lossy = false;
    std::string gbk = Utf8ToGbk(name, &lossy);
    return lossy ? name : gbk;
}

}  // namespace qasp
