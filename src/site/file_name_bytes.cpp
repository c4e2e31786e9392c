#include "site/file_name_bytes.h"

#include "text/byte_string.h"
#include "text/gbk.h"
#include "text/gbk_codec.h"

namespace qasp {

bool IsUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const size_t extra = (b & 0xE0) == 0xC0 && b >= 0xC2   ? 1
                             : (b & 0xF0) == 0xE0              ? 2
                             : (b & 0xF8) == 0xF0 && b <= 0xF4 ? 3
                                                               : 0;
        if (extra == 0 || i + extra >= s.size())
            return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

std::string FoldedFileName(std::string_view name)
{
    // A UTF-8 name has no ASCII byte inside a character; anything else is
    // taken as GBK and walked by character.
    if (IsUtf8(name)) {
        std::string out(name);
        for (char &c : out)
            c = LowerAsciiChar(c);
        return out;
    }
    return LowerAscii(name);
}

std::string PathText(const std::filesystem::path &path)
{
    std::string out;
    for (const auto &part : path) {
        const std::string name = part.string();
        if (!out.empty() && out.back() != '/')
            out += '/';
        out += IsUtf8(name) ? name : GbkToUtf8(name);
    }
    return out;
}

}  // namespace qasp
