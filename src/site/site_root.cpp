#include "site/site_root.h"

#include "site/file_name_bytes.h"
#include "text/byte_string.h"

#include <optional>
#include <string_view>

namespace qasp {
namespace fs = std::filesystem;

namespace {

fs::path Resolved(const fs::path &path)
{
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::absolute(path, ec).lexically_normal() : resolved;
}

// `path` relative to `root` when lexically below it (or it); both absolute
// and normal.
bool Below(const fs::path &path, const fs::path &root, fs::path *relative)
{
    fs::path rel = path.lexically_relative(root);
    if (rel.empty() || *rel.begin() == "..")
        return false;
    if (relative)
        *relative = rel == "." ? fs::path() : rel;
    return true;
}

// Whether `dir` holds a regular file named `name` in any letter case.
bool Holds(const fs::path &dir, std::string_view name)
{
    std::error_code ec;
    for (fs::directory_iterator entry(dir, ec), end; !ec && entry != end; entry.increment(ec)) {
        std::error_code typeError;
        if (EqualsNoCase(entry->path().filename().native(), name) && entry->is_regular_file(typeError))
            return true;
    }
    return false;
}

// Whether `dir` holds an .asp page (any letter case).
bool HoldsPages(const fs::path &dir)
{
    std::error_code ec;
    for (fs::directory_iterator entry(dir, ec), end; !ec && entry != end; entry.increment(ec)) {
        std::error_code typeError;
        if (EqualsNoCase(entry->path().extension().native(), ".asp") && entry->is_regular_file(typeError))
            return true;
    }
    return false;
}

}  // namespace

fs::path FindSiteRoot(const fs::path &page)
{
    const fs::path folder = Resolved(page).parent_path();
    std::optional<fs::path> config;
    fs::path pages = folder;  // the top of the unbroken run of folders holding pages
    bool run = true;
    for (fs::path dir = folder;; dir = dir.parent_path()) {
        if (Holds(dir, "global.asa"))
            return dir;
        // The topmost web.config: a folder below the site may configure
        // itself with one of its own.
        if (Holds(dir, "web.config"))
            config = dir;
        run = run && HoldsPages(dir);
        if (run)
            pages = dir;
        if (dir == dir.parent_path())
            break;
    }
    return config ? *config : pages;
}

SiteRoot::SiteRoot(const fs::path &root) : path_(Resolved(root))
{
    std::error_code ec;
    const fs::file_status status = fs::status(path_, ec);
    if (!fs::exists(status))
        throw SiteRootError("站点根目录 " + PathText(root) + " 不存在");
    if (!fs::is_directory(status))
        throw SiteRootError("站点根目录 " + PathText(root) + " 不是文件夹");
}

SiteRoot SiteRoot::Around(const fs::path &page)
{
    return SiteRoot(FindSiteRoot(page));
}

SiteRoot SiteRoot::ForPage(const fs::path &root, const fs::path &page)
{
    SiteRoot site(root);
    if (!site.Contains(page))
        throw SiteRootError("页面 " + PathText(page) + " 不在站点根目录 " + PathText(site.Path()) + " 之内");
    return site;
}

bool SiteRoot::Contains(const fs::path &path) const
{
    return Below(Resolved(path), path_, nullptr);
}

bool SiteRoot::ContainsResolved(const fs::path &resolved) const
{
    return Below(resolved, path_, nullptr);
}

bool SiteRoot::PartsBelow(const fs::path &path, fs::path *relative) const
{
    std::error_code ec;
    return Below(fs::absolute(path, ec).lexically_normal(), path_, relative)
           || Below(Resolved(path), path_, relative);
}

std::string SiteRoot::Relative(const fs::path &file) const
{
    fs::path rel;
    if (!PartsBelow(file, &rel))
        return PathText(Resolved(file));
    return rel.empty() ? "." : PathText(rel);
}

}  // namespace qasp
