#include "cli/project_load.h"

#include "cli/command_line.h"
#include "project/asp_loader.h"
#include "project/stale_temporaries.h"

#include <iostream>

namespace qasp::cli {

LoadOptions TakeLoadOptions(Arguments &args)
{
    LoadOptions options;
    if (const std::optional<std::string> root = args.TakeOption("--site-root"))
        options.siteRoot = std::filesystem::absolute(*root);
    if (const std::optional<std::string> encoding = args.TakeOption("--encoding")) {
        if (*encoding == "gbk")
            options.encoding = EncodingChoice::Gbk;
        else if (*encoding == "utf-8" || *encoding == "utf8")
            options.encoding = EncodingChoice::Utf8;
        else if (*encoding != "auto")
            throw CommandError("--encoding takes auto, gbk or utf-8, not '" + *encoding + "'");
    }
    return options;
}

void LoadProject(const std::string &rootArgument, LoadedProject &project, const char *command,
                 const LoadOptions &options, bool quiet)
{
    // A path from a dialog is absolute; so is this one, to name the root
    // document by its bare file name.
    const std::filesystem::path root = std::filesystem::absolute(rootArgument);
    project.projectDir = root.parent_path();
    LoadContext context;
    context.siteRoot = options.siteRoot;
    context.encoding = options.encoding;
    const auto report = [&] {
        if (!quiet)
            for (const std::string &w : context.warnings)
                std::cerr << "qasp " << command << ": " << w << '\n';
    };
    try {
        project.optionExplicit = LoadAspDocument(project.tree, nullptr, root, project.store, context);
    } catch (const LoadError &e) {
        report();
        throw CommandError(e.what());
    }
    report();
    const std::string stale = StaleFilesNotice(RemoveStaleSaveFiles(project.tree));
    if (!stale.empty())
        std::cerr << "qasp " << command << ": " << stale << '\n';
    project.siteRoot = context.siteRoot;
    project.includes = std::move(context.includes);
}

}  // namespace qasp::cli
