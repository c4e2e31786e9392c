// The temporary files of a save: new contents, backups and kept old
// contents, each written beside the file it stands for before being renamed
// into place. Their names follow one pattern, ".NAME.qasp-save-PID-XXXXXX.tmp"
// (hidden, named after their file, carrying the id of the process that wrote
// them), so that those of a killed save can be found and removed later.
#pragma once

#include "project/file_operations.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace qasp {

// Calls `create` with fresh temporary names for `forFile`, in its folder,
// until it succeeds or fails otherwise than with file_exists; `temp` is the
// name last tried.
std::error_code CreateTemporary(const std::filesystem::path &forFile, std::filesystem::path &temp,
                                const std::function<std::error_code(const std::filesystem::path &)> &create);

// The id of the process that wrote the temporary file named `fileName`;
// nullopt for a name that is not one of ours.
std::optional<long> TemporaryFileWriter(std::string_view fileName);

// Removes, from `dir`, the temporary files whose writer has ended (or is
// this process: its saves never overlap, so any such file is an earlier
// save's) and returns them. Files of a save still running elsewhere are
// left alone. Best effort: what cannot be removed stays for a later save.
std::vector<std::filesystem::path> RemoveStaleTemporaryFiles(const std::filesystem::path &dir,
                                                             FileOperations &files);

}  // namespace qasp
