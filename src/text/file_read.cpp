#include "text/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qasp {
namespace {

constexpr std::uintmax_t kMiB = std::uintmax_t{1024} * 1024;
constexpr std::size_t kBlock = std::size_t{1} << 16;

FileRead Failed(FileRead::Outcome outcome, int error)
{
    FileRead read;
    read.outcome = outcome;
    read.error = error;
    return read;
}

// Reads until the end or until more than `limit` bytes have come. The text
// is kept at its own size (many files stay in memory), read through a block.
FileRead ReadUpTo(int descriptor, std::uintmax_t limit, std::uintmax_t knownSize)
{
    FileRead read;
    read.bytes.reserve(static_cast<std::size_t>(std::min(knownSize, limit) + 1));
    std::string block(kBlock, '\0');
    while (read.bytes.size() <= limit) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uintmax_t>(kBlock, limit + 1 - read.bytes.size()));
        const ssize_t got = ::read(descriptor, block.data(), want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Failed(FileRead::Outcome::ReadFailed, errno);
        if (got == 0)
            break;
        read.bytes.append(block, 0, static_cast<std::size_t>(got));
    }
    if (read.bytes.size() > limit) {
        read.outcome = FileRead::Outcome::TooLarge;
        read.size = std::max<std::uintmax_t>(knownSize, read.bytes.size());
        read.sizeUnknown = read.bytes.size() > knownSize;
        read.bytes = std::string();
    }
    return read;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// Non-blocking, so that a FIFO without a writer is not waited for; a
// regular file reads the same either way.
int OpenToRead(const std::filesystem::path &path)
{
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

// Read with the size of the regular file open at `descriptor` (-1: the
// open failed, errno tells), or why it is none.
FileRead RegularFileSize(int descriptor)
{
    if (descriptor < 0)
        return Failed(FileRead::Outcome::CannotOpen, errno);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return Failed(FileRead::Outcome::ReadFailed, errno);
    if (!S_ISREG(status.st_mode))
        return Failed(FileRead::Outcome::NotAFile, S_ISDIR(status.st_mode) ? EISDIR : 0);
    FileRead read;
    read.size = static_cast<std::uintmax_t>(status.st_size);
    return read;
}

}  // namespace

FileRead ReadFileWithin(const std::filesystem::path &path, std::uintmax_t limit)
{
    const Descriptor file(OpenToRead(path));
    FileRead read = RegularFileSize(file.Get());
    if (!read.Ok())
        return read;
    if (read.size > limit) {
        read.outcome = FileRead::Outcome::TooLarge;
        return read;
    }
    return ReadUpTo(file.Get(), limit, read.size);
}

FileRead ProbeRegularFile(const std::filesystem::path &path)
{
    const Descriptor file(OpenToRead(path));
    return RegularFileSize(file.Get());
}

FileRead ReadStreamWithin(int descriptor, std::uintmax_t limit)
{
    return ReadUpTo(descriptor, limit, 0);
}

std::string SizeLimitText(std::uintmax_t limit)
{
    return limit % kMiB == 0 ? std::to_string(limit / kMiB) + " MB" : std::to_string(limit) + " 字节";
}

std::string FileReadProblem(const FileRead &read, std::string_view shownName, std::uintmax_t limit)
{
    const std::string name(shownName);
    switch (read.outcome) {
    case FileRead::Outcome::Read: break;
    case FileRead::Outcome::CannotOpen: return "无法打开文件 " + name + "：" + std::strerror(read.error);
    case FileRead::Outcome::NotAFile:
        return read.error == EISDIR ? "文件 " + name + " 是文件夹，不是文件"
                                    : "文件 " + name + " 不是普通文件（是设备、管道或套接字）";
    case FileRead::Outcome::TooLarge:
        if (read.sizeUnknown)
            return "文件 " + name + " 超过了 " + SizeLimitText(limit) + " 的上限";
        return "文件 " + name + " 有 " + std::to_string(read.size) + " 字节，超过了 " + SizeLimitText(limit)
               + " 的上限";
    case FileRead::Outcome::ReadFailed: return "无法读取文件 " + name + "：" + std::strerror(read.error);
    }
    return {};
}

}  // namespace qasp
