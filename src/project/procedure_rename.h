// Renaming a function or sub from its tree label: the name changes where the
// procedure is declared (its head line, as an edit the user can undo), in
// the keyword store and in the label. Calls elsewhere are left as written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qasp {

class ProjectWorkspace;
class TreeNode;

// `newLabel` is what the user typed over the label: a name, or a name with
// its parameters (those are not changed). Returns why the rename was
// refused (a message for the user), nothing when it was done or there was
// nothing to do. A document node is only relabelled.
std::optional<std::string> RenameProcedure(ProjectWorkspace &ws, TreeNode *node, std::string_view newLabel);

}  // namespace qasp
