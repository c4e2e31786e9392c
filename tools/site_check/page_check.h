// Every check site_check makes with one page of a site opened as the root:
// the load, the files' bytes given back without an edit, one procedure
// edited, and the page assembled as the server would, held against the
// simple expansion.
#pragma once

#include "project/asp_loader.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qasp::sitecheck {

struct CheckOptions {
    std::filesystem::path siteRoot;  // empty: each page's own (FindSiteRoot)
    EncodingChoice encoding = EncodingChoice::Auto;
    // Every procedure edited in turn and put back, not only the first.
    bool everyProcedure = false;
};

enum class EditCheck { NoProcedure, Kept, Faulty };
enum class FlattenCheck { Agree, Disagree, Failed };

struct PageOutcome {
    std::filesystem::path page;
    bool opened = false;
    std::string loadError;  // UTF-8, when not opened
    std::vector<IncludeMet> includes;
    // For each of `includes`: the simple resolver finds its file in the site.
    std::vector<bool> targetExists;
    int documents = 0;  // distinct files loaded
    // Each document's file (its path on disk) with its encoding and line
    // ends as loaded: "GBK CRLF".
    std::vector<std::pair<std::string, std::string>> documentKinds;
    // Documents whose bytes, unedited, are not their file's: name and where.
    std::vector<std::string> noEditFaults;
    EditCheck edit = EditCheck::NoProcedure;
    std::string edited;  // "DOCUMENT: PROCEDURE", the first one edited
    int proceduresEdited = 0;
    std::vector<std::string> editFaults;
    FlattenCheck flatten = FlattenCheck::Failed;
    std::string flattenDetail;
    std::string rootDifference;  // the loader's root and the simple one, when they differ
    double loadSeconds = 0, checkSeconds = 0, flattenSeconds = 0, expandSeconds = 0;
};

// The line the edit check inserts after a procedure's first line.
constexpr const char *kEditedLine = "' edited";

PageOutcome CheckPage(const std::filesystem::path &page, const CheckOptions &options);

}  // namespace qasp::sitecheck
