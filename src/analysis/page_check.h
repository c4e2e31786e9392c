// Checking pages as the server compiles them: each page assembled with its
// includes, parsed, and looked at whole. One checker serves a whole run, so
// a file included by many pages is read and split once.
#pragma once

#include "analysis/application_file.h"
#include "analysis/page_assembly.h"
#include "analysis/site_files.h"
#include "site/include_resolution.h"
#include "site/site_root.h"
#include "vbscript/diagnostic.h"

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qasp::analysis {

// The page itself could not be read or assembled. UTF-8.
struct PageCheckError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class PageChecker {
public:
    explicit PageChecker(std::optional<TextEncoding> encoding = std::nullopt) : files_(encoding) {}

    // The file at `path` is checked as holding `bytes` in `encoding` (an
    // editor's unsaved text) instead of what is on disk. Before any check
    // reads that file.
    void UseText(const std::filesystem::path &path, std::string bytes, TextEncoding encoding)
    {
        files_.UseText(RealPathKey(path), std::move(bytes), encoding);
    }

    // Every problem of `page` and the files it includes, by file and place.
    std::vector<vbs::Diagnostic> Check(const std::filesystem::path &page, const SiteRoot &site);

    // The files `page` includes, directly or not, without the page: cheap,
    // nothing is parsed. Empty when the page cannot be read.
    std::vector<uint32_t> IncludedFiles(const std::filesystem::path &page, const SiteRoot &site);
    // The id of `page`'s file, read if need be.
    std::optional<uint32_t> FileId(const std::filesystem::path &page);

    const SiteFiles &Files() const { return files_; }
    // The site root a file was first reached from.
    const std::filesystem::path &SiteOf(uint32_t file) const { return siteOf_.at(file); }

private:
    // Leaves out of `page` every piece but the code of server script
    // elements.
    void KeepScriptElements(AssembledPage &page) const;
    // What the site's global.asa gives its pages, read once per site root.
    const ApplicationNames &ApplicationOf(const SiteRoot &site);

    SiteFiles files_;
    std::map<std::string, ApplicationNames> applications_;  // by site root
    std::map<std::string, IncludeResolver> resolvers_;      // by site root
    std::map<uint32_t, std::filesystem::path> siteOf_;
};

}  // namespace qasp::analysis
