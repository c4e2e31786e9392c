#include "convert/code_page_sensitive_code.h"

#include "text/byte_string.h"

#include <array>

namespace qasp::convert {
namespace {

constexpr std::array<std::string_view, 8> kWords{"chrb",   "ascb", "midb",   "leftb",
                                                 "rightb", "lenb", "instrb", "binarywrite"};

constexpr bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::vector<SensitiveUse> FindCodePageSensitiveCode(std::string_view page, const PageStructure &structure)
{
    const std::string lower = LowerAscii(page);
    std::vector<SensitiveUse> uses;
    int line = 1;
    size_t counted = 0;  // lines are counted up to here
    for (const PageRegion &r : structure.regions) {
        if (r.kind != RegionKind::Script && r.kind != RegionKind::ServerScript
            && r.kind != RegionKind::Expression)
            continue;
        bool inString = false;
        for (size_t pos = r.codeBegin; pos < r.codeEnd; ++pos) {
            const char c = lower[pos];
            if (c == '\n' || c == '\r') {
                inString = false;
                continue;
            }
            if (c == '"') {
                inString = !inString;
                continue;
            }
            if (inString)
                continue;
            if (c == '\'') {  // a comment to the end of the line
                while (pos + 1 < r.codeEnd && lower[pos + 1] != '\n' && lower[pos + 1] != '\r')
                    ++pos;
                continue;
            }
            if (pos > 0 && IsNameChar(lower[pos - 1]))
                continue;
            for (const std::string_view word : kWords) {
                const size_t after = pos + word.size();
                if (lower.compare(pos, word.size(), word) != 0
                    || (after < lower.size() && IsNameChar(lower[after])))
                    continue;
                for (; counted < pos; ++counted)
                    if (page[counted] == '\n'
                        || (page[counted] == '\r'
                            && (counted + 1 >= page.size() || page[counted + 1] != '\n')))
                        ++line;
                uses.push_back({line, std::string(page.substr(pos, word.size()))});
                break;
            }
        }
    }
    return uses;
}

}  // namespace qasp::convert
