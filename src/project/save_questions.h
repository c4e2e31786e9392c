// What a save asks (or, without a user, decides) before it replaces files
// that are worth a second thought: files the project layout cannot give
// back, and files changed on disk since they were loaded.
#pragma once

#include "project/write_error.h"

#include <filesystem>
#include <vector>

namespace qasp {

class Prompter;

// A save that would replace files the layout cannot give back, files
// changed since they were loaded, or files other documents were read from,
// refused by OverwritePolicy::Refuse before
// anything was written.
struct OverwriteRefused : WriteError {
    using WriteError::WriteError;
};

// What a save does when it would replace such files.
enum class OverwritePolicy {
    Ask,     // ask, listing the files; replacing one keeps the old file as a backup
    Force,   // replace them, keeping backups
    Refuse,  // write nothing and throw OverwriteRefused
};

// Files the layout cannot give back: true to replace them (keeping
// backups), false when the user said no.
bool MayLoseLayout(const std::vector<std::filesystem::path> &files, Prompter &prompter,
                   OverwritePolicy policy);

// Files the project was read from that the save would fill with other
// content (a document written over another's file, a merged page over an
// included one): true to replace them (keeping backups), false when the user
// said no.
bool MayReplaceReadFiles(const std::vector<std::filesystem::path> &files, Prompter &prompter,
                         OverwritePolicy policy);

enum class ChangedFilesAnswer { Overwrite, Reload, Cancel };

// Files changed (or gone) since they were loaded: overwrite them (keeping
// backups), load them again instead of saving, or cancel.
ChangedFilesAnswer AskAboutChangedFiles(const std::vector<std::filesystem::path> &files, Prompter &prompter,
                                        OverwritePolicy policy);

}  // namespace qasp
