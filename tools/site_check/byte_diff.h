// Two byte strings that should be equal, told apart for a report: where they
// first differ and a short, escaped stretch of each from there.
#pragma once

#include <string>
#include <string_view>

namespace qasp::sitecheck {

// The bytes printable: CR, LF, tab, '\' and bytes outside printable ASCII
// escaped (\r, \n, \t, \\, \xNN), so GBK and UTF-8 alike show as written.
std::string Escaped(std::string_view bytes);

// "byte 120 (line 4): expected "..." got "..." (sizes 900 and 910)"; empty
// when the two are equal.
std::string DescribeDifference(std::string_view expected, std::string_view got);

}  // namespace qasp::sitecheck
