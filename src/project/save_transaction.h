// Replacing a set of files all together or not at all. Every new content
// and every backup is first written whole under a temporary name in its
// file's folder and synced; only then are they renamed into place. The old
// content of each replaced file is kept (a second hard link, or a copy where
// the file system has none) until every rename has succeeded, so that a
// failed rename puts back the files already replaced.
#pragma once

#include "project/file_operations.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qasp {

// One file to write. `path` is a real path (no symbolic link in it); with
// `backup`, an existing old file is kept under a free name.
struct FileWrite {
    std::filesystem::path path;
    std::string bytes;
    bool backup = false;
};

struct BackupMade {
    std::filesystem::path original;
    std::filesystem::path backup;
};

struct WriteReport {
    std::vector<BackupMade> backups;
    // What the save could not keep of a replaced file (its owner, its
    // extended attributes), one message a file.
    std::vector<std::string> notices;
    // Temporary files of earlier, killed saves that were removed.
    std::vector<std::filesystem::path> staleRemoved;
};

// The first of NAME.bak, NAME.bak.1, NAME.bak.2, ... beside `file`.
std::filesystem::path BackupName(const std::filesystem::path &file, int number);

// Writes every file of `writes` (distinct paths), creating missing folders.
// A replaced file keeps its owner, group, permissions and extended
// attributes; one with several hard links is written over in place, its old
// content kept as a copy until the new one is whole. Backups are made at
// the first name of BackupName's series that is neither an existing file
// nor another file of the save, so a backup never replaces anything.
// Temporary files left in those folders by earlier, killed saves are
// removed first. Throws WriteError naming the file that failed, with every
// file (and folder) as it was before and no temporary file left.
WriteReport WriteAllOrNothing(const std::vector<FileWrite> &writes, FileOperations &files);

}  // namespace qasp
