// Loading a project from the command line the way opening it in the editor
// does, with what the load skipped reported on stderr.
#pragma once

#include "editor/keyword_store.h"
#include "project/project_tree.h"

#include <filesystem>
#include <string>

namespace qasp::cli {

struct LoadedProject {
    KeywordStore store{":memory:"};
    ProjectTree tree;
    std::filesystem::path projectDir;
    bool optionExplicit = false;
};

// `rootArgument` as given on the command line: the file system's own bytes.
// Throws CommandError when the load fails.
void LoadProject(const std::string &rootArgument, LoadedProject &project, const char *command);

}  // namespace qasp::cli
