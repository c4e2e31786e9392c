// Whether a loaded document may be written back over its file. It may only
// where writing it unedited in the project layout gives back the file's bytes
// exactly; anything else the layout does not keep would be changed by a
// save: HTML outside the script block, text after its "%>", a lone CR (two
// statements run together), blank lines, LF line ends, an Option Explicit
// line in an included file, functions or include lines out of their sorted
// order, a skipped include line, bytes after a Ctrl-Z.
#pragma once

#include "project/project_tree.h"

#include <string_view>

namespace qasp {

// `header` as a save of the project passes it: for the root the Option
// Explicit result of its load, for every other document false.
bool LayoutGivesBack(std::string_view fileBytes, const TreeNode &document, bool header);

}  // namespace qasp
