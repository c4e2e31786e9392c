#include "project/file_operations.h"

#include <cerrno>
#include <cstdio>
#include <deque>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace qasp {
namespace {

namespace fs = std::filesystem;

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

// Calls `f` again while it is interrupted by a signal.
template <typename F> auto Retry(F f)
{
    decltype(f()) result;
    do
        result = f();
    while (result < 0 && errno == EINTR);
    return result;
}

std::error_code CloseFile(int fd)
{
    return ::close(fd) == 0 || errno == EINTR ? std::error_code() : LastError();
}

std::error_code WriteAll(int fd, std::string_view bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = Retry([&] { return ::write(fd, bytes.data() + done, bytes.size() - done); });
        if (n < 0)
            return LastError();
        done += static_cast<size_t>(n);
    }
    return {};
}

// Every extended attribute of `from` set on `to`: user attributes, access
// control lists (system.posix_acl_*), security labels where allowed.
std::error_code CopyExtendedAttributes(const fs::path &from, const fs::path &to)
{
    const ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP ? std::error_code() : LastError();
    std::string names(static_cast<size_t>(size), '\0');
    const ssize_t got = ::llistxattr(from.c_str(), names.data(), names.size());
    if (got < 0)
        return LastError();
    names.resize(static_cast<size_t>(got));
    std::error_code first;
    std::string value;
    for (size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        const ssize_t length = ::lgetxattr(from.c_str(), name.c_str(), nullptr, 0);
        value.resize(length > 0 ? static_cast<size_t>(length) : 0);
        const ssize_t read =
            length < 0 ? -1 : ::lgetxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (read < 0
            || ::lsetxattr(to.c_str(), name.c_str(), value.data(), static_cast<size_t>(read), 0) != 0) {
            if (!first)
                first = LastError();
        }
    }
    return first;
}

class SystemFileOperations : public FileOperations {
public:
    std::error_code CreateFile(const fs::path &path, std::string_view bytes, fs::perms perms) override
    {
        const int fd =
            Retry([&] { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (fd < 0)
            return LastError();
        std::error_code error;
        // An old file's permissions are taken over exactly, whatever the umask.
        if (perms != fs::perms::unknown && ::fchmod(fd, static_cast<mode_t>(perms & fs::perms::mask)) != 0)
            error = LastError();
        if (!error)
            error = WriteAll(fd, bytes);
        const std::error_code closed = CloseFile(fd);
        if (!error)
            error = closed;
        if (error)
            ::unlink(path.c_str());
        return error;
    }

    std::error_code CopyOwnerAndAttributes(const fs::path &like, const fs::path &path) override
    {
        struct stat st;
        if (::lstat(like.c_str(), &st) != 0)
            return LastError();
        std::error_code first;
        const auto note = [&first](bool ok) {
            if (!ok && !first)
                first = LastError();
        };
        struct stat now;
        note(::lstat(path.c_str(), &now) == 0);
        if (!first && (now.st_uid != st.st_uid || now.st_gid != st.st_gid))
            note(::lchown(path.c_str(), st.st_uid, st.st_gid) == 0);
        // After the owner: a change of owner clears the set-id bits.
        note(::chmod(path.c_str(), st.st_mode & 07777) == 0);
        const std::error_code attributes = CopyExtendedAttributes(like, path);
        return first ? first : attributes;
    }

    std::error_code WriteInPlace(const fs::path &path, std::string_view bytes) override
    {
        const int fd = Retry([&] { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC); });
        if (fd < 0)
            return LastError();
        // Written before the file is cut to size: a full disk fails while the
        // file is still at least as long as before.
        std::error_code error = WriteAll(fd, bytes);
        if (!error && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
            error = LastError();
        if (!error && ::fsync(fd) != 0)
            error = LastError();
        const std::error_code closed = CloseFile(fd);
        return error ? error : closed;
    }

    std::error_code Link(const fs::path &target, const fs::path &link) override
    {
        return ::link(target.c_str(), link.c_str()) == 0 ? std::error_code() : LastError();
    }

    std::error_code Rename(const fs::path &from, const fs::path &to, bool replace) override
    {
        if (replace)
            return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return {};
        if (errno != EINVAL && errno != ENOSYS)
            return LastError();
        // A file system without that kind of rename: a new name fails when
        // taken, then the old name goes.
        if (::link(from.c_str(), to.c_str()) == 0)
            return ::unlink(from.c_str()) == 0 ? std::error_code() : LastError();
        if (errno == EEXIST)
            return LastError();
        struct stat st;
        if (::lstat(to.c_str(), &st) == 0)
            return std::make_error_code(std::errc::file_exists);
        return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
    }

    std::error_code Remove(const fs::path &path) override
    {
        return std::remove(path.c_str()) == 0 ? std::error_code() : LastError();
    }

    std::error_code Read(const fs::path &path, std::string &bytes) override
    {
        const int fd = Retry([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
        if (fd < 0)
            return LastError();
        bytes.clear();
        char buffer[65536];
        std::error_code error;
        for (;;) {
            const ssize_t n = Retry([&] { return ::read(fd, buffer, sizeof buffer); });
            if (n < 0)
                error = LastError();
            if (n <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(n));
        }
        const std::error_code closed = CloseFile(fd);
        return error ? error : closed;
    }

    std::error_code Status(const fs::path &path, FileInfo &info) override
    {
        info = {};
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (status.type() == fs::file_type::not_found)
            return {};
        if (error)
            return error;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            return LastError();
        info.type = status.type();
        info.perms = status.permissions();
        info.owner = st.st_uid;
        info.group = st.st_gid;
        info.links = st.st_nlink;
        return {};
    }

    std::error_code RealPath(const fs::path &path, fs::path &real) override
    {
        std::error_code error;
        const fs::path absolute = fs::absolute(path, error);
        if (error)
            return error;
        // Part by part, as the kernel walks a path, but going on past the
        // first part that does not exist (a dangling link's target too).
        const fs::path relative = absolute.relative_path();
        std::deque<fs::path> rest(relative.begin(), relative.end());
        fs::path done = absolute.root_path();
        for (int links = 0; !rest.empty();) {
            const fs::path part = rest.front();
            rest.pop_front();
            if (part.empty() || part == ".")
                continue;
            if (part == "..") {
                done = done.parent_path();
                continue;
            }
            const fs::path next = done / part;
            const fs::file_status status = fs::symlink_status(next, error);
            if (status.type() == fs::file_type::not_found) {
                error.clear();
                fs::path tail = part;
                for (const fs::path &p : rest)
                    tail /= p;
                real = (next.parent_path() / tail).lexically_normal();
                return {};
            }
            if (error)
                return error;
            if (status.type() != fs::file_type::symlink) {
                done = next;
                continue;
            }
            if (++links > 40)
                return std::make_error_code(std::errc::too_many_symbolic_link_levels);
            const fs::path target = fs::read_symlink(next, error);
            if (error)
                return error;
            if (target.is_absolute())
                done = target.root_path();
            const fs::path targetParts = target.relative_path();
            rest.insert(rest.begin(), targetParts.begin(), targetParts.end());
        }
        real = done;
        return {};
    }

    std::error_code List(const fs::path &dir, std::vector<std::string> &names) override
    {
        names.clear();
        std::error_code error;
        for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
            names.push_back(it->path().filename().string());
        return error;
    }

    std::error_code MakeDirectory(const fs::path &path) override
    {
        return ::mkdir(path.c_str(), 0777) == 0 ? std::error_code() : LastError();
    }

    std::error_code Sync(const fs::path &path) override
    {
        const int fd = Retry([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
        if (fd < 0)
            return LastError();
        const std::error_code synced = ::fsync(fd) == 0 ? std::error_code() : LastError();
        const std::error_code closed = CloseFile(fd);
        return synced ? synced : closed;
    }
};

}  // namespace

FileOperations &SystemFiles()
{
    static SystemFileOperations files;
    return files;
}

}  // namespace qasp
