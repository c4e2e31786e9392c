#include "project/temporary_files.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <random>
#include <string>

#include <unistd.h>

namespace qasp {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMark = ".qasp-save-";
constexpr std::string_view kEnd = ".tmp";
constexpr size_t kRandomLength = 6;
// File names may have 255 bytes; the pattern adds fewer than 40.
constexpr size_t kLongestNamePart = 200;

std::string RandomLetters()
{
    static constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    std::string out;
    for (size_t i = 0; i < kRandomLength; ++i)
        out += letters[random() % letters.size()];
    return out;
}

// The start of a long name, cut where no UTF-8 character is split.
std::string Shortened(std::string name)
{
    if (name.size() <= kLongestNamePart)
        return name;
    size_t cut = kLongestNamePart;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    name.resize(cut);
    return name;
}

bool IsRunning(long pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace

std::error_code CreateTemporary(const fs::path &forFile, fs::path &temp,
                                const std::function<std::error_code(const fs::path &)> &create)
{
    const std::string stem =
        "." + Shortened(forFile.filename().string()) + std::string(kMark) + std::to_string(::getpid()) + "-";
    std::error_code error;
    for (int attempt = 0; attempt < 32; ++attempt) {
        temp = forFile.parent_path() / (stem + RandomLetters() + std::string(kEnd));
        error = create(temp);
        if (error != std::errc::file_exists)
            return error;
    }
    return error;
}

std::optional<long> TemporaryFileWriter(std::string_view name)
{
    const size_t mark = name.rfind(kMark);
    if (name.empty() || name.front() != '.' || mark == std::string_view::npos || name.size() < kEnd.size()
        || name.substr(name.size() - kEnd.size()) != kEnd)
        return std::nullopt;
    const std::string_view rest =
        name.substr(mark + kMark.size(), name.size() - kEnd.size() - mark - kMark.size());
    long pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || pid <= 0 || end == rest.data() + rest.size() || *end != '-'
        || rest.size() - static_cast<size_t>(end - rest.data()) != kRandomLength + 1)
        return std::nullopt;
    return pid;
}

std::vector<fs::path> RemoveStaleTemporaryFiles(const fs::path &dir, FileOperations &files)
{
    std::vector<fs::path> removed;
    std::vector<std::string> names;
    if (files.List(dir, names))
        return removed;
    for (const std::string &name : names)
        if (const std::optional<long> pid = TemporaryFileWriter(name))
            if ((*pid == ::getpid() || !IsRunning(*pid)) && !files.Remove(dir / name))
                removed.push_back(dir / name);
    return removed;
}

}  // namespace qasp
