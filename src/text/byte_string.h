// Byte-string helpers shared by every layer. Texts are code page 936 bytes.
// Blanks are ASCII bytes below every byte of a GBK character; lower-casing
// walks by GBK character so the second byte of a Chinese character, which
// may be an ASCII letter, is left alone.
#pragma once

#include <string>
#include <string_view>

namespace qasp {

// Space and every control character (codes 0 to 32) count as blanks.
constexpr bool IsBlank(unsigned char c)
{
    return c <= 32;
}

std::string Trim(std::string_view s);
std::string TrimRight(std::string_view s);
std::string TrimLeft(std::string_view s);

// Maps A-Z to a-z and nothing else. EqualsNoCase and StartsWithNoCase are
// meant for ASCII words and keywords.
std::string LowerAscii(std::string_view s);
constexpr char LowerAsciiChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);

}  // namespace qasp
