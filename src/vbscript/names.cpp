#include "vbscript/names.h"

#include "text/byte_string.h"
#include "vbscript/text_position.h"

namespace qasp::vbs {

namespace {

std::string_view Unbracketed(std::string_view name)
{
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        return name.substr(1, name.size() - 2);
    return name;
}

}  // namespace

std::string FoldName(std::string_view name, TextEncoding encoding)
{
    name = Unbracketed(name);
    std::string folded(name);
    for (size_t i = 0; i < folded.size();) {
        const size_t n = CharLength(name, i, encoding);
        if (n == 1)
            folded[i] = LowerAsciiChar(folded[i]);
        i += n;
    }
    return folded;
}

bool NamesEqual(std::string_view a, std::string_view b, TextEncoding encoding)
{
    a = Unbracketed(a);
    b = Unbracketed(b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size();) {
        const size_t n = CharLength(a, i, encoding);
        if (n == 1 ? LowerAsciiChar(a[i]) != LowerAsciiChar(b[i]) : a.substr(i, n) != b.substr(i, n))
            return false;
        i += n;
    }
    return true;
}

}  // namespace qasp::vbs
