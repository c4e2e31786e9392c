// Whole files read within a limit. A page, a skin or a picture is read
// whole into memory, so only a regular file is read, and never more than
// its limit and one byte: a device (/dev/zero), a pipe that never ends or a
// file that grows while it is read is refused instead of filling memory.
// Messages are UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qasp {

struct FileRead {
    enum class Outcome { Read, CannotOpen, NotAFile, TooLarge, ReadFailed };

    Outcome outcome = Outcome::Read;
    std::string bytes;         // Read: every byte of the file
    std::uintmax_t size = 0;   // TooLarge: above the limit; ProbeRegularFile: the file's size
    bool sizeUnknown = false;  // TooLarge: a stream or a growing file, read only as far as the limit
    int error = 0;             // CannotOpen, ReadFailed: the errno

    bool Ok() const { return outcome == Outcome::Read; }
};

// Opening a FIFO does not wait for a writer: it is refused as not a file.
FileRead ReadFileWithin(const std::filesystem::path &path, std::uintmax_t limit);

// Whether `path` is a regular file that opens for reading, without reading
// it: Read (with its size) or the refusal ReadFileWithin would give.
FileRead ProbeRegularFile(const std::filesystem::path &path);

// An open descriptor (standard input) read to its end, or until it has
// given more than `limit` bytes.
FileRead ReadStreamWithin(int descriptor, std::uintmax_t limit);

// "2 MB" for whole mebibytes, else "N 字节".
std::string SizeLimitText(std::uintmax_t limit);

// Why `read` failed, naming the file as `shownName`: "无法打开文件 X：...",
// "文件 X 不是普通文件...", "文件 X 有 N 字节，超过了 2 MB 的上限",
// "无法读取文件 X：...". Callers add what the file would have been.
std::string FileReadProblem(const FileRead &read, std::string_view shownName, std::uintmax_t limit);

}  // namespace qasp
