// The editor's two character classes. Only ASCII bytes belong to them: the
// bytes of a GBK character (all >= 0x81 for the first, >= 0x40 for the
// second) are never taken as word characters when text is walked by GBK
// character, see text/gbk.h.
#pragma once

namespace qasp {

constexpr bool IsWordChar(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

constexpr bool IsDigitChar(unsigned char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace qasp
