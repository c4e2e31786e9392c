// Which file an include directive brings in, as the web server finds it:
// file="..." from the folder of the file holding the directive,
// virtual="..." from the site root, '\' or '/' between parts, any letter
// case, ".." followed while the path stays inside the root. The path is page
// text (GBK or UTF-8); file names on this platform are UTF-8, and a site
// copied with GBK-named files keeps GBK names, so both spellings are tried.
#pragma once

#include "site/include_kind.h"
#include "site/path_lookup.h"
#include "site/site_root.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qasp {

struct IncludeTarget {
    enum class Outcome {
        Found,
        Missing,          // no such file
        OutsideSiteRoot,  // the path, or a symbolic link on it, leaves the root: refused
        IsFolder,
        NotAFile,  // a device, a pipe or a socket: reading it could block or never end
    };
    Outcome outcome = Outcome::Missing;
    // Found: the file, spelled as looked up below the root. Missing, a
    // folder or no file: where it was looked for, when the path got that far.
    std::filesystem::path path;
    // Found: the file's canonical path, the same however the directive
    // spells it.
    std::string key;
    std::string reason;      // UTF-8, for messages; empty when found
    std::string reasonWord;  // for the command line's listing: "found", "missing", "outside-site-root", ...

    bool Found() const { return outcome == Outcome::Found; }
};

// Resolves the directives of one load. Folder listings, the places of the
// including files and every directive's answer are kept, so a whole site
// costs one answer per distinct directive; files that appear or vanish
// meanwhile are seen by the next resolver only.
class IncludeResolver {
public:
    explicit IncludeResolver(SiteRoot site);

    const SiteRoot &Site() const { return site_; }

    // The file `pathBytes` (the directive's quoted path, page text in GBK
    // when `gbk`, else UTF-8) names for a directive of `kind` in
    // `includingFile`.
    const IncludeTarget &Resolve(const std::filesystem::path &includingFile, IncludeKind kind,
                                 std::string_view pathBytes, bool gbk);

private:
    using Parts = std::vector<std::string>;
    const std::optional<Parts> &FolderParts(const std::filesystem::path &includingFile);
    IncludeTarget Walk(const std::vector<Parts> &spellings);
    IncludeTarget Classify(const std::filesystem::path &found) const;

    SiteRoot site_;
    PathLookup lookup_;
    std::unordered_map<std::string, std::optional<Parts>>
        folders_;  // including folder -> its parts below the root
    std::unordered_map<std::string, IncludeTarget> answers_;
};

// One directive resolved by a resolver of its own.
IncludeTarget ResolveInclude(const SiteRoot &site, const std::filesystem::path &includingFile,
                             IncludeKind kind, std::string_view pathBytes, bool gbk);

// The directive as a message names it (UTF-8): #include file="inc\conn.asp".
std::string DirectiveText(IncludeKind kind, std::string_view pathBytes, bool gbk);

}  // namespace qasp
