// The site root: the folder the web server serves, from which
// virtual="..." include paths start and above which no include reaches.
// Unless the user names one, it is the nearest folder upward from the
// opened page that holds a global.asa (the application's folder); a site
// without one is recognised by its topmost web.config; else it is the
// highest folder of the unbroken run of folders holding .asp pages from the
// page's folder up (a page in a subfolder reaches the site's shared files
// with "../").
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace qasp {

// A root that is no folder, or a page outside the root named for it. The
// message is UTF-8.
struct SiteRootError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The nearest folder at or above `page`'s folder holding a global.asa (any
// letter case); else the topmost holding a web.config; else the highest
// folder reached from the page's going up through folders that each hold
// an .asp file. Absolute, symbolic links resolved.
std::filesystem::path FindSiteRoot(const std::filesystem::path &page);

class SiteRoot {
public:
    // Throws SiteRootError unless `root` is an existing folder.
    explicit SiteRoot(const std::filesystem::path &root);

    // The root FindSiteRoot finds for `page`.
    static SiteRoot Around(const std::filesystem::path &page);
    // `root` as the user named it; throws SiteRootError when `page` is not
    // inside it.
    static SiteRoot ForPage(const std::filesystem::path &root, const std::filesystem::path &page);

    // Absolute, symbolic links resolved.
    const std::filesystem::path &Path() const { return path_; }

    // Whether `path`, once its symbolic links are resolved, is the root or
    // below it.
    bool Contains(const std::filesystem::path &path) const;
    // The same for a path already resolved (std::filesystem::canonical):
    // no system call.
    bool ContainsResolved(const std::filesystem::path &resolved) const;

    // The parts of `path` below the root: taken as written when it is
    // spelled below the root, else with its symbolic links resolved; false
    // when it is outside.
    bool PartsBelow(const std::filesystem::path &path, std::filesystem::path *relative) const;

    // `file` relative to the root for listings and messages (UTF-8, '/'
    // between parts: "inc/conn.asp"); "." for the root itself, the whole
    // path for a file outside it.
    std::string Relative(const std::filesystem::path &file) const;

private:
    std::filesystem::path path_;
};

}  // namespace qasp
