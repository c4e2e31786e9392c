// Moving a whole site to one encoding, in two steps a caller can show
// between: a plan (every file the pages use, what each becomes, which
// declarations change, what is refused and what to review) made without
// writing anything, and the run that writes the plan's files all together
// or not at all. The command line's `qasp convert` and the window's dialog
// both work through these.
#pragma once

#include "convert/file_conversion.h"
#include "project/file_fingerprint.h"
#include "project/file_operations.h"
#include "project/save_transaction.h"
#include "text/text_encoding.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qasp::convert {

struct ConversionOptions {
    TextEncoding target = TextEncoding::Utf8;
    // Besides the pages, their includes and global.asa: every .htm, .html,
    // .js, .css, .txt and .inc below the folders named.
    bool allText = false;
    // What a file is written in, whatever its bytes suggest; by the path as
    // given (it is resolved).
    std::map<std::filesystem::path, TextEncoding> encodingOf;
    std::optional<std::filesystem::path> siteRoot;
};

struct PlannedFile {
    std::filesystem::path path;        // symbolic links resolved
    std::string shown;                 // below the site root, for listings
    std::optional<TextEncoding> from;  // none: ASCII only, the bytes stay as they are
    std::string before, after;
    FileFingerprint read;  // when `before` was read
    std::vector<DeclarationChange> changes;
    // Converting `after` back gives `before` again.
    bool comesBack = true;

    bool Changes() const { return before != after; }
};

struct PlanMessage {
    std::string file;     // as shown; empty for the run as a whole
    int line = 0;         // 0: the file as a whole
    std::string message;  // UTF-8
};

struct ConversionPlan {
    TextEncoding target = TextEncoding::Utf8;
    std::vector<PlannedFile> files;
    std::vector<PlanMessage> refusals;  // while there is one, nothing is written
    std::vector<PlanMessage> warnings;  // for the user to review

    bool CanRun() const { return refusals.empty(); }
    size_t ChangedFiles() const;
    size_t DeclarationChanges() const;
};

// Reads the pages below (or at) each of `paths` with their includes, and
// plans their conversion to `options.target`. Writes nothing.
ConversionPlan PlanConversion(const std::vector<std::filesystem::path> &paths,
                              const ConversionOptions &options);

// Writes the changed files of `plan` through the safe save. Throws
// WriteError, with nothing written, when the plan has refusals or a file
// changed on disk since it was read for the plan, or when a write fails.
WriteReport RunConversion(const ConversionPlan &plan, FileOperations &files = SystemFiles());

}  // namespace qasp::convert
