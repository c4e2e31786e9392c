#include "project/file_fingerprint.h"

#include <fstream>
#include <functional>
#include <iterator>
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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return FingerprintOf(path, bytes);
}

}  // namespace qasp
