// A second, deliberately plain reading of a page's include directives, to
// hold the site library's page assembly against: a byte matcher for
// <!--#include file|virtual="..."--> and path logic with a case-insensitive
// folder lookup. It shares no code with the library's scanner or resolver,
// so a fault in either shows up as a disagreement instead of being repeated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qasp::sitecheck {

struct FoundDirective {
    std::size_t begin = 0, end = 0;  // "<!--" to after "-->"
    bool isVirtual = false;
    std::string path;  // as written, without quotes
};

// The directives of `page` that stand outside <% %> blocks and
// <script runat="server"> elements: the server reads those as code.
std::vector<FoundDirective> FindDirectives(std::string_view page);

// The nearest folder at or above the page's own holding a global.asa (any
// letter case), else the topmost holding a web.config, else the top of the
// unbroken run of folders holding .asp files from the page's up.
std::filesystem::path NearestSiteRoot(const std::filesystem::path &page);

// Too deep, too big or unreadable: the expansion has no answer.
struct ExpansionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SimpleExpander {
public:
    explicit SimpleExpander(const std::filesystem::path &root,
                            std::uintmax_t maxBytes = std::uintmax_t{256} * 1024 * 1024);

    // The file a directive in `includingFile` names, when it exists as a
    // file inside the root.
    std::optional<std::filesystem::path> Resolve(const std::filesystem::path &includingFile, bool isVirtual,
                                                 std::string_view path);

    // The page with each directive that names a file replaced by that file's
    // expansion; a directive naming nothing, or a file already being
    // expanded, stays as written.
    std::string Expand(const std::filesystem::path &page);

private:
    struct Entry {
        std::string name;
        bool folder = false;
        bool file = false;  // a regular file
    };
    const std::vector<Entry> &Listing(const std::filesystem::path &folder);
    std::optional<std::string> Lookup(const std::filesystem::path &folder, const std::string &part,
                                      bool wantFolder);
    const std::pair<std::string, std::vector<FoundDirective>> &Read(const std::filesystem::path &file);
    void Append(const std::filesystem::path &file, int depth, std::string &out);

    std::filesystem::path root_;
    std::uintmax_t maxBytes_;
    std::map<std::string, std::vector<Entry>> listings_;
    std::map<std::string, std::pair<std::string, std::vector<FoundDirective>>> files_;
    std::set<std::string> chain_;
};

}  // namespace qasp::sitecheck
