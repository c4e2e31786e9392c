// Where each document of a project save is written. Into the project's own
// directory (the folder its root document was read from), a document read
// from a file inside it is written back to that file, in the spelling it has
// on disk, as long as the document's name still ends that file's path (an
// include path flattened to its last part does; a document renamed since
// goes to its new name). Every other document goes to the name its display
// text gives, below the target directory, using the spelling of a file or
// folder there that differs only in letter case. Symbolic links are followed
// to the file they point at.
#pragma once

#include "project/file_operations.h"
#include "project/project_tree.h"

#include <filesystem>
#include <vector>

namespace qasp {

struct DocumentTarget {
    TreeNode *node;
    std::filesystem::path file;  // real path
    // The file is the one the document was read from.
    bool writesBack = false;
};

// The documents of `top` and below (repeats are written from their first
// node, never on their own), each after the documents below it. Throws
// WriteError, before anything is written, when a document would land
// outside the real path of `dir`, or when two documents (two records) would
// land on one file, including the file another document of the project was
// read from.
std::vector<DocumentTarget> PlanProjectSave(TreeNode &top, const std::filesystem::path &dir,
                                            FileOperations &files);

// `path` with its symbolic links resolved; throws WriteError naming it.
std::filesystem::path RealPathOf(const std::filesystem::path &path, FileOperations &files);

}  // namespace qasp
