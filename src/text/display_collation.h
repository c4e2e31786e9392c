// How people expect names to be ordered: the user's locale through ICU,
// Chinese (zh_CN) when the locale is C or POSIX. Case counts ("a" before "A"
// before "alpha"), as in the tree's sibling order.
#pragma once

#include <string_view>

namespace qasp {

// <0, 0 or >0 as a sorts before, with or after b. Texts are code page 936.
int CompareDisplayTexts(std::string_view a, std::string_view b);

}  // namespace qasp
