#include "byte_diff.h"

#include <algorithm>
#include <cstdio>

namespace qasp::sitecheck {
namespace {

constexpr std::size_t kShownBefore = 24;
constexpr std::size_t kShown = 48;

}  // namespace

std::string Escaped(std::string_view bytes)
{
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out;
}

std::string DescribeDifference(std::string_view expected, std::string_view got)
{
    if (expected == got)
        return {};
    const auto e = std::mismatch(expected.begin(), expected.end(), got.begin(), got.end()).first;
    const std::size_t at = static_cast<std::size_t>(e - expected.begin());
    const std::size_t line = 1 + std::count(expected.begin(), e, '\n');
    const std::size_t from = at > kShownBefore ? at - kShownBefore : 0;
    const auto stretch = [&](std::string_view s) {
        return "\"" + (from < s.size() ? Escaped(s.substr(from, at - from)) : std::string()) + "|"
               + (at < s.size() ? Escaped(s.substr(at, kShown)) : std::string("<end>")) + "\"";
    };
    return "byte " + std::to_string(at) + " (line " + std::to_string(line) + "): expected "
           + stretch(expected) + " got " + stretch(got) + " (sizes " + std::to_string(expected.size())
           + " and " + std::to_string(got.size()) + ")";
}

}  // namespace qasp::sitecheck
