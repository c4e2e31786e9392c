// The skin container inside a decoded skin stream: a 16-byte header (format
// version 20000, the length of the name list, two reserved words), the
// entry names one per line, one int32 size per entry, then the entries'
// bytes back to back. Names compare without regard to ASCII case.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qasp::skin {

// The largest skin file, or picture packed into one, that is read: no more
// than a stream may decode to (TSkinReader::MaxDecodedSize).
constexpr std::uintmax_t kMaxSkinFileBytes = std::uintmax_t{32} << 20;

class TSkinReader {
public:
    static constexpr int32_t kFormatVersion = 20000;
    static constexpr int kMaxEntries = 1001;

    // Shows the old-format message to the user; none by default.
    std::function<void(const std::string &)> ShowMessage;
    // The most a stream may claim to decode to; skins are a few hundred KB.
    size_t MaxDecodedSize = 32u << 20;

    // Decodes and indexes a compressed skin stream. False after the
    // format-version message, or for a container that does not hold
    // together (see LastError); nothing is indexed then.
    bool ReadSkin(std::string_view source);

    // The decoded container of a compressed stream (size first).
    std::string Unpack(std::string_view source) const;

    // The entry of that name (ASCII case ignored), empty when there is none.
    std::string ExtractEntry(std::string_view name) const;
    // The first entry whose name contains `fragment` (given in lower case),
    // with its name; empty and `foundName` untouched when there is none.
    std::string ExtractFirstMatch(std::string_view fragment, std::string &foundName) const;

    const std::vector<std::string> &Names() const { return names_; }
    const std::vector<int32_t> &Sizes() const { return sizes_; }
    size_t DataSize() const { return data_.size(); }
    const std::string &LastError() const { return lastError_; }

private:
    bool Refuse(std::string why);
    std::string EntryAt(size_t index) const;

    std::vector<std::string> names_;
    std::vector<int32_t> sizes_;
    std::string data_;
    std::string lastError_;
};

// The container of a set of named entries, in their order (for the skin
// packer and the tests; the program only reads).
std::string BuildSkinContainer(const std::vector<std::pair<std::string, std::string>> &entries);

}  // namespace qasp::skin
