// The temporary files a killed save left in a site: they can be as large as
// the site itself, so every load and every save of a project clears them out
// of each folder the project was read from, and the user is told.
#pragma once

#include "project/file_operations.h"
#include "project/project_tree.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qasp {

// Removes the temporary files of saves whose process has ended from the
// folders of every document of `tree` (or of `top` and below) read from a
// file; returns them.
std::vector<std::filesystem::path> RemoveStaleSaveFiles(const ProjectTree &tree,
                                                        FileOperations &files = SystemFiles());
std::vector<std::filesystem::path> RemoveStaleSaveFiles(const TreeNode &top,
                                                        FileOperations &files = SystemFiles());

// The message telling which were removed; empty when none was.
std::string StaleFilesNotice(const std::vector<std::filesystem::path> &removed);

}  // namespace qasp
