#include "text/function_name.h"

#include "text/byte_string.h"

namespace qasp {

std::string ExtractFunctionName(std::string_view text, bool nameOnly)
{
    std::string s = Trim(text);
    constexpr std::string_view keyword = "function ";
    if (StartsWithNoCase(s, keyword))
        s.erase(0, keyword.size());
    if (nameOnly) {
        // '(' is ASCII below every GBK trail byte, so a plain find is safe.
        const size_t paren = s.find('(');
        if (paren != std::string::npos)
            s.erase(paren);
    }
    return Trim(s);
}

}  // namespace qasp
