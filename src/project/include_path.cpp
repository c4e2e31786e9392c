#include "project/include_path.h"

#include "site/include_path_parts.h"
#include "site/path_lookup.h"
#include "text/gbk_codec.h"

#include <vector>

namespace qasp {
namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path &p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::optional<fs::path> FindIgnoringCase(const fs::path &base, const fs::path &relative)
{
    std::vector<std::string> parts;
    for (const fs::path &part : relative)
        parts.push_back(part.native());
    PathLookup lookup;
    const auto found = lookup.Find(base, parts);
    return found && IsFile(*found) ? found : std::nullopt;
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

}  // namespace

std::optional<fs::path> ResolveIncludePath(const fs::path &baseDir, std::string_view includePath)
{
    const std::string portable = PortableSeparators(includePath, true);
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
