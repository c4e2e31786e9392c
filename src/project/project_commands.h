// The commands that open and save a whole project.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qasp {

class ProjectWorkspace;
class Prompter;

// Action_OPEN once the file is chosen: the project directory becomes the
// file's, the tree and the editor are emptied, the file is loaded with
// everything it includes and Action_VarNeed shows whether it asks for
// declared variables. The site root is `siteRoot`, or found from the file
// when empty; the workspace keeps the one used. Throws LoadError when a file of the chain cannot be read or
// the project is over a limit (the rest of the command then does not run). Returns what the load skipped.
std::vector<std::string> OpenProject(ProjectWorkspace &ws, const std::filesystem::path &file,
                                     const std::filesystem::path &siteRoot = {});

}  // namespace qasp
