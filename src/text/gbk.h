// The shape of GBK (code page 936) text: a lead byte 0x81-0xFE followed by a
// trail byte 0x40-0x7E or 0x80-0xFE is one two-byte character, whether or not
// a character is assigned to the pair. Everything else is one byte. A trail
// byte can be an ASCII letter, '_', '\\' or '"'-free punctuation, so any code
// that looks for ASCII inside GBK text must walk it by characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace qasp {

constexpr bool IsGbkLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}
constexpr bool IsGbkTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// Length (1 or 2) of the character that starts at byte i of s.
inline size_t GbkCharLength(std::string_view s, size_t i)
{
    if (i + 1 < s.size() && IsGbkLeadByte(static_cast<unsigned char>(s[i]))
        && IsGbkTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

// Start of the character that ends just before byte `end`, found by walking
// from `from`, a known character boundary at or before `end`.
size_t GbkPreviousCharStart(std::string_view s, size_t from, size_t end);

}  // namespace qasp
