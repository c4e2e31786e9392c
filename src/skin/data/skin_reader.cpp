#include "skin/data/skin_reader.h"

#include "skin/data/lzh.h"
#include "text/byte_string.h"
#include "text/line_split.h"

#include <cstring>

namespace qasp::skin {
namespace {

int32_t Int32At(std::string_view bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
    return static_cast<int32_t>(v);
}

void AppendInt32(std::string &out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string TSkinReader::Unpack(std::string_view source) const
{
    return LzhDecode(source, MaxDecodedSize);
}

bool TSkinReader::Refuse(std::string why)
{
    names_.clear();
    sizes_.clear();
    data_.clear();
    lastError_ = std::move(why);
    return false;
}

bool TSkinReader::ReadSkin(std::string_view source)
{
    lastError_.clear();
    std::string container;
    try {
        container = Unpack(source);
    } catch (const ElzhException &e) {
        return Refuse(e.what());
    }
    // A container shorter than its header reads as zeros, as the old reader
    // did, and so fails the version test below.
    if (container.size() < 16)
        container.resize(16, '\0');
    if (Int32At(container, 0) != kFormatVersion) {
        if (ShowMessage)
            ShowMessage("This is Older Skin File\rPlease update to new version !");
        return Refuse("format version " + std::to_string(Int32At(container, 0)) + ", not 20000");
    }
    const int32_t listLength = Int32At(container, 4);
    if (listLength < 0 || static_cast<size_t>(listLength) > container.size() - 16)
        return Refuse("the entry name list runs past the end of the container");
    const std::string list = LowerAscii(std::string_view(container).substr(16, listLength));
    names_.clear();
    for (std::string_view line : SplitTextLines(list))
        names_.emplace_back(line);
    if (names_.size() > kMaxEntries)
        return Refuse("more than 1001 entries");
    const size_t tableAt = 16 + static_cast<size_t>(listLength);
    if (container.size() - tableAt < 4 * names_.size())
        return Refuse("the entry size table runs past the end of the container");
    sizes_.clear();
    uint64_t total = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        const int32_t size = Int32At(container, tableAt + 4 * i);
        if (size < 0)
            return Refuse("entry " + names_[i] + " has a negative size");
        sizes_.push_back(size);
        total += static_cast<uint64_t>(size);
    }
    data_ = container.substr(tableAt + 4 * names_.size());
    if (total > data_.size())
        return Refuse("the entry sizes run past the end of the entry data");
    return true;
}

std::string TSkinReader::EntryAt(size_t index) const
{
    size_t offset = 0;
    for (size_t i = 0; i < index; ++i)
        offset += static_cast<size_t>(sizes_[i]);
    return data_.substr(offset, static_cast<size_t>(sizes_[index]));
}

std::string TSkinReader::ExtractEntry(std::string_view name) const
{
    const std::string key = LowerAscii(name);
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == key)
            return EntryAt(i);
    return {};
}

std::string TSkinReader::ExtractFirstMatch(std::string_view fragment, std::string &foundName) const
{
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i].find(fragment) != std::string::npos) {
            foundName = names_[i];
            return EntryAt(i);
        }
    return {};
}

std::string BuildSkinContainer(const std::vector<std::pair<std::string, std::string>> &entries)
{
    std::string list;
    for (const auto &[name, bytes] : entries)
        list += name + "\r\n";
    std::string out;
    AppendInt32(out, TSkinReader::kFormatVersion);
    AppendInt32(out, static_cast<int32_t>(list.size()));
    AppendInt32(out, 0);
    AppendInt32(out, 0);
    out += list;
    for (const auto &[name, bytes] : entries)
        AppendInt32(out, static_cast<int32_t>(bytes.size()));
    for (const auto &[name, bytes] : entries)
        out += bytes;
    return out;
}

}  // namespace qasp::skin
