#include "text/byte_string.h"

#include "text/gbk.h"

namespace qasp {

std::string TrimLeft(std::string_view s)
{
    size_t b = 0;
    while (b < s.size() && IsBlank(static_cast<unsigned char>(s[b])))
        ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s)
{
    size_t e = s.size();
    while (e > 0 && IsBlank(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s)
{
    return TrimLeft(TrimRight(s));
}

std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    for (size_t i = 0; i < out.size(); i += GbkCharLength(out, i))
        out[i] = LowerAsciiChar(out[i]);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i]))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

}  // namespace qasp
