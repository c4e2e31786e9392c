#include "project/file_fingerprint.h"

#include "project/asp_loader.h"
#include "text/file_read.h"

#include <functional>
#include <string>

namespace qasp {

namespace fs = std::filesystem;

FileFingerprint FingerprintOf(const fs::path &path, std::string_view bytes)
{
    FileFingerprint f;
    f.size = bytes.size();
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    if (!ec)
        f.modifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    f.hash = std::hash<std::string_view>{}(bytes);
    return f;
}

std::optional<FileFingerprint> CurrentFingerprint(const fs::path &path)
{
    // No loaded document is larger than a whole project may be: a file
    // beyond that has changed, and is not read into memory to say so.
    const FileRead read = ReadFileWithin(path, kMaxProjectBytes);
    if (read.outcome == FileRead::Outcome::TooLarge) {
        FileFingerprint grown = FingerprintOf(path, {});
        grown.size = read.size;
        return grown;
    }
    if (!read.Ok())
        return std::nullopt;
    return FingerprintOf(path, read.bytes);
}

}  // namespace qasp
