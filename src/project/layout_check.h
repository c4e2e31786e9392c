// Whether writing a loaded document in the project layout gives back its
// file. The layout keeps only one script block: HTML outside it, text after
// its closing "%>", text before a later "<%" and skipped include lines are
// lost when the document is saved. What the layout drops by design does not
// count: blank lines, trailing blanks, line ends, the code-page and Option
// Explicit header lines, and the order of include lines and functions.
#pragma once

#include <string_view>

namespace qasp {

bool LayoutGivesBack(std::string_view originalFile, std::string_view written);

}  // namespace qasp
