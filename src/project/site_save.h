// Saving a site as it was read: every document's file is its text with its
// procedures put back (document_assembly.h), in its own encoding and line
// ends. Only files whose bytes changed are written; an unedited file is not
// touched, not even its time. A save writes all its files or none.
#pragma once

#include "project/asp_writer.h"
#include "project/file_operations.h"
#include "project/project_tree.h"
#include "project/save_questions.h"

#include <filesystem>
#include <optional>

namespace qasp {

class Prompter;

// Writes the changed documents of `tree` back to their files. A document
// made in the editor (read from no file) goes beside the file of the
// document that includes it, at the path its name gives. With `toDir`,
// every document is written below it at its path relative to `siteRoot`,
// changed or not, and nothing of the site is touched. Before anything is
// written: a target outside `siteRoot` (or `toDir`) or two documents on one
// file throw WriteError; files changed on disk since they were loaded are
// asked about (or decided by `policy`) and keep a backup when replaced.
// Afterwards the records of the files written hold their new bytes.
// With `only`, that document alone is saved.
SaveResult SaveSite(ProjectTree &tree, const std::filesystem::path &siteRoot, Prompter &prompter,
                    OverwritePolicy policy = OverwritePolicy::Ask, FileOperations &files = SystemFiles(),
                    const std::optional<std::filesystem::path> &toDir = std::nullopt,
                    const TreeNode *only = nullptr);

// The node where the file of the repeated inclusion `repeat` was loaded.
TreeNode *FirstInclusionOf(const ProjectTree &tree, const TreeNode *repeat);

// The documents whose files a save would write (repeats are written from
// their first node).
std::vector<TreeNode *> ChangedDocuments(const ProjectTree &tree);

}  // namespace qasp
