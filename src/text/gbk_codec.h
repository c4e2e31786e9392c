// Code page 936 <-> UTF-16 for the editor, lossless for bytes that are not
// valid GBK: each such byte decodes to a reserved private-use code point
// (kEscapeBase + byte - 0x80) and encodes back to the same byte, so a file
// with stray bytes survives being shown, edited elsewhere and saved.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

constexpr char16_t kEscapeBase = 0xF780;  // 0xF780..0xF7FF stand for bytes 0x80..0xFF

std::u16string DecodeGbk(std::string_view bytes);

// Characters that code page 936 cannot hold become '?'; *lossy tells.
std::string EncodeGbk(std::u16string_view text, bool *lossy = nullptr);

// How many bytes EncodeGbk makes of one UTF-16 code unit (1 or 2).
size_t EncodedLength(char16_t unit);

// Where code page 936 has no character: a byte no character starts with, or
// a lead and trail byte pair with none assigned (its lead byte's offset).
// The first `limit` offsets; *count gets how many there are in all.
std::vector<size_t> InvalidGbkOffsets(std::string_view bytes, size_t limit, size_t *count = nullptr);

// Convenience for output meant for terminals and JSON.
std::string GbkToUtf8(std::string_view bytes);
std::string Utf8ToGbk(std::string_view utf8, bool *lossy = nullptr);

}  // namespace qasp
