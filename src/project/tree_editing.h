// Adding, deleting and finding nodes by hand, with key_public kept in step
// for functions.
#pragma once

#include <optional>
#include <string_view>

namespace qasp {

class ProjectTree;
class ProjectWorkspace;
class Prompter;

// Asks for a document name and adds an empty document under the selected
// document (or at the top level when nothing is selected).
void AddAspDocument(ProjectWorkspace &ws, Prompter &prompter);

// Asks for a prototype and adds a function skeleton under the selected
// document, entered in key_public.
void AddFunction(ProjectWorkspace &ws, Prompter &prompter);

// Deletes the selected node (a document with its whole subtree).
void DeleteSelectedNode(ProjectWorkspace &ws, Prompter &prompter);

// The pre-order index of the first node whose name (without a parameter
// list, ASCII case ignored) equals that of `name`.
std::optional<int> FindNodeByName(const ProjectTree &tree, std::string_view name);

}  // namespace qasp
