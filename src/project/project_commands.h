// The commands that open and save a whole project.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qasp {

class ProjectWorkspace;
class Prompter;

// Action_OPEN once the file is chosen: the project directory becomes the
// file's, the tree and the editor are emptied, the file is loaded with its
// include chain and Action_VarNeed shows whether it asks for declared
// variables. Throws LoadError when a file of the chain cannot be read or the
// project is over a limit (the rest of the command then does not run).
// Returns what the load skipped.
std::vector<std::string> OpenProject(ProjectWorkspace &ws, const std::filesystem::path &file);

}  // namespace qasp
