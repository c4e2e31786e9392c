// What a file looked like when it was read: its size, modification time and
// a hash of its bytes. A save compares the file on disk with it before
// replacing the file, so a change made by another program is never lost
// without a question.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qasp {

struct FileFingerprint {
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;  // nanoseconds since the file clock's epoch
    std::uint64_t hash = 0;       // of the bytes; compared only within this process

    bool operator==(const FileFingerprint &) const = default;
};

// The fingerprint of `bytes` as read from `path` (size and time taken from
// the file system, the hash from the bytes).
FileFingerprint FingerprintOf(const std::filesystem::path &path, std::string_view bytes);

// Reads `path` again and fingerprints it; nullopt when it is gone or
// cannot be read.
std::optional<FileFingerprint> CurrentFingerprint(const std::filesystem::path &path);

}  // namespace qasp
