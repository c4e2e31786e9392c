// Searching a string in one node's text or across the whole project.
// Offsets count the bytes of the node's text (a line break two, a Chinese
// character two); letter case of ASCII is ignored.
#pragma once

#include <optional>
#include <string_view>

namespace qasp {

class ProjectWorkspace;
class Prompter;
class TreeNode;

std::optional<size_t> FindInNode(const TreeNode *node, std::string_view search, size_t start,
                                 Prompter &prompter);

// From the node after the selected one, wrapping round, never the selected
// node itself; the node of the first match becomes selected.
std::optional<size_t> FindInProject(ProjectWorkspace &ws, std::string_view search, Prompter &prompter);

}  // namespace qasp
