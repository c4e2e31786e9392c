// Loading a project from the command line the way opening it in the editor
// does, with what the load skipped reported on stderr.
#pragma once

#include "cli/command_line.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/project_tree.h"

#include <filesystem>
#include <string>

namespace qasp::cli {

struct LoadedProject {
    KeywordStore store{":memory:"};
    ProjectTree tree;
    std::filesystem::path projectDir;
    std::filesystem::path siteRoot;  // the one the load used
    bool optionExplicit = false;
    std::vector<IncludeMet> includes;
};

// --site-root DIR and --encoding auto|gbk|utf-8, taken from `args`.
struct LoadOptions {
    std::filesystem::path siteRoot;
    EncodingChoice encoding = EncodingChoice::Auto;
};
LoadOptions TakeLoadOptions(Arguments &args);
constexpr const char *kLoadOptionsUsage = "[--site-root DIR] [--encoding auto|gbk|utf-8]";

// `rootArgument` as given on the command line: the file system's own bytes.
// Throws CommandError when the load fails. Warnings go to stderr unless
// `quiet`.
void LoadProject(const std::string &rootArgument, LoadedProject &project, const char *command,
                 const LoadOptions &options = {}, bool quiet = false);

}  // namespace qasp::cli
