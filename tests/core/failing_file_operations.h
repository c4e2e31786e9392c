// The system's file operations, except that the Nth one fails (with "no
// space left on device") without doing anything.
#pragma once

#include "project/file_operations.h"

#include <string>
#include <vector>

namespace qasp::testing {

class FailingFileOperations : public FileOperations {
public:
    explicit FailingFileOperations(int failAt = 0) : failAt_(failAt) {}

    int Count() const { return count_; }
    // Every operation made so far, by name and path, for failure messages.
    const std::string &Log() const { return log_; }

    std::error_code CreateFile(const std::filesystem::path &p, std::string_view bytes,
                               std::filesystem::perms perms) override
    {
        return Do("create", p, [&] { return real_.CreateFile(p, bytes, perms); });
    }
    std::error_code CopyOwnerAndAttributes(const std::filesystem::path &like,
                                           const std::filesystem::path &p) override
    {
        return Do("own", p, [&] { return real_.CopyOwnerAndAttributes(like, p); });
    }
    std::error_code WriteInPlace(const std::filesystem::path &p, std::string_view bytes) override
    {
        return Do("overwrite", p, [&] { return real_.WriteInPlace(p, bytes); });
    }
    std::error_code Link(const std::filesystem::path &target, const std::filesystem::path &link) override
    {
        return Do("link", link, [&] { return real_.Link(target, link); });
    }
    std::error_code Rename(const std::filesystem::path &from, const std::filesystem::path &to,
                           bool replace) override
    {
        return Do("rename", to, [&] { return real_.Rename(from, to, replace); });
    }
    std::error_code Remove(const std::filesystem::path &p) override
    {
        return Do("remove", p, [&] { return real_.Remove(p); });
    }
    std::error_code Read(const std::filesystem::path &p, std::string &bytes) override
    {
        return Do("read", p, [&] { return real_.Read(p, bytes); });
    }
    std::error_code Status(const std::filesystem::path &p, FileInfo &info) override
    {
        return Do("status", p, [&] { return real_.Status(p, info); });
    }
    std::error_code RealPath(const std::filesystem::path &p, std::filesystem::path &real) override
    {
        return Do("realpath", p, [&] { return real_.RealPath(p, real); });
    }
    std::error_code List(const std::filesystem::path &dir, std::vector<std::string> &names) override
    {
        return Do("list", dir, [&] { return real_.List(dir, names); });
    }
    std::error_code MakeDirectory(const std::filesystem::path &p) override
    {
        return Do("mkdir", p, [&] { return real_.MakeDirectory(p); });
    }
    std::error_code Sync(const std::filesystem::path &p) override
    {
        return Do("sync", p, [&] { return real_.Sync(p); });
    }

private:
    template <typename F> std::error_code Do(const char *what, const std::filesystem::path &p, F operation)
    {
        if (const std::error_code error = Next(what, p))
            return error;
        return operation();
    }

    std::error_code Next(const char *what, const std::filesystem::path &p)
    {
        ++count_;
        const bool fail = count_ == failAt_;
        log_ +=
            std::to_string(count_) + " " + what + " " + p.filename().string() + (fail ? " FAILS\n" : "\n");
        return fail ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
    }

    FileOperations &real_ = SystemFiles();
    int failAt_;
    int count_ = 0;
    std::string log_;
};

}  // namespace qasp::testing
