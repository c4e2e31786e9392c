// The file-system operations a save makes, behind one small interface so
// that a test can make any single one of them fail and check what the save
// leaves behind. Each operation reports failure through its error code and
// does nothing else on failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace qasp {

// What is at a path; type not_found when nothing is.
struct FileInfo {
    std::filesystem::file_type type = std::filesystem::file_type::not_found;
    std::filesystem::perms perms = std::filesystem::perms::unknown;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uintmax_t links = 1;  // hard links to the file
};

class FileOperations {
public:
    virtual ~FileOperations() = default;

    // Creates `path`, which must not exist yet (file_exists otherwise),
    // holding `bytes`; with perms::unknown it gets a new file's usual
    // permissions. A file that cannot be written whole is removed again.
    virtual std::error_code CreateFile(const std::filesystem::path &path, std::string_view bytes,
                                       std::filesystem::perms perms) = 0;
    // Gives `path` the owner, group, permissions and extended attributes
    // (access control lists among them) of `like`. Best effort: what can be
    // given is given, and the first failure is reported (a user may not give
    // a file away to another owner).
    virtual std::error_code CopyOwnerAndAttributes(const std::filesystem::path &like,
                                                   const std::filesystem::path &path) = 0;
    // Writes `bytes` over the content of the existing file `path` itself and
    // syncs it, so that every hard link to it sees them.
    virtual std::error_code WriteInPlace(const std::filesystem::path &path, std::string_view bytes) = 0;
    // A second name `link` for the existing file `target` (a hard link).
    virtual std::error_code Link(const std::filesystem::path &target, const std::filesystem::path &link) = 0;
    // Renames `from` to `to`; an existing `to` is replaced only when
    // `replace` is set (file_exists otherwise).
    virtual std::error_code Rename(const std::filesystem::path &from, const std::filesystem::path &to,
                                   bool replace) = 0;
    // Removes a file or an empty directory.
    virtual std::error_code Remove(const std::filesystem::path &path) = 0;
    virtual std::error_code Read(const std::filesystem::path &path, std::string &bytes) = 0;
    // What `path` itself is: a final symbolic link is not followed.
    virtual std::error_code Status(const std::filesystem::path &path, FileInfo &info) = 0;
    // `path` absolute, with every symbolic link (the last part's too) and
    // every "." and ".." resolved; parts that do not exist yet are kept as
    // written.
    virtual std::error_code RealPath(const std::filesystem::path &path, std::filesystem::path &real) = 0;
    // The names in a directory.
    virtual std::error_code List(const std::filesystem::path &dir, std::vector<std::string> &names) = 0;
    virtual std::error_code MakeDirectory(const std::filesystem::path &path) = 0;
    // Flushes a file's or a directory's content to the disk.
    virtual std::error_code Sync(const std::filesystem::path &path) = 0;
};

// The operations on this machine's file system.
FileOperations &SystemFiles();

}  // namespace qasp
