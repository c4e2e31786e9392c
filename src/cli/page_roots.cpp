#include "cli/page_roots.h"

#include "cli/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace qasp::cli {

namespace fs = std::filesystem;

bool IsAspPage(const fs::path &p)
{
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".asp";
}

namespace {

// A NUL byte near the start: no page but data named .asp so that the
// server refuses to send it (an Access database, typically).
bool IsBinaryFile(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    char head[1024];
    in.read(head, sizeof head);
    return std::find(head, head + in.gcount(), '\0') != head + in.gcount();
}

}  // namespace

std::vector<Root> RootsOf(const std::string &argument)
{
    const fs::path path(argument);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        throw CommandError(argument + ": no such file or folder");
    std::vector<Root> roots;
    if (fs::is_directory(status)) {
        const fs::path real = fs::canonical(path);
        std::vector<fs::path> pages;
        for (auto it =
                 fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file() && IsAspPage(it->path()) && !IsBinaryFile(it->path()))
                pages.push_back(it->path());
        if (ec)
            throw CommandError(argument + ": " + ec.message());
        std::sort(pages.begin(), pages.end());
        for (fs::path &p : pages)
            roots.push_back({std::move(p), path, real, true});
        return roots;
    }
    const fs::path base = path.has_parent_path() ? path.parent_path() : fs::path(".");
    roots.push_back({path, base, fs::canonical(base), false});
    return roots;
}

vbs::MessageLanguage LanguageOfLocale()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return std::string_view(value).substr(0, 2) == "zh" ? vbs::MessageLanguage::SimplifiedChinese
                                                                : vbs::MessageLanguage::English;
    }
    return vbs::MessageLanguage::English;
}

}  // namespace qasp::cli
