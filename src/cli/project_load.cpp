#include "cli/project_load.h"

#include "cli/command_line.h"
#include "project/asp_loader.h"
#include "project/tree_walk.h"
#include "text/gbk_codec.h"

#include <iostream>

namespace qasp::cli {

void LoadProject(const std::string &rootArgument, LoadedProject &project, const char *command)
{
    // A path from a dialog is absolute; so is this one, to name the root
    // document by its bare file name.
    const std::filesystem::path root = std::filesystem::absolute(rootArgument);
    project.projectDir = root.parent_path();
    LoadContext context;
    context.baseDir = project.projectDir;
    const auto report = [&] {
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
    VisitInPreOrder(project.tree, [command](const TreeNode &n, int) {
        if (!n.IsRepeat() && n.Record() && n.Record()->LayoutLoses)
            std::cerr << "qasp " << command << ": " << GbkToUtf8(n.DisplayText())
                      << ": 保存会改变此文件（含有工程格式无法保留的内容）\n";
    });
}

}  // namespace qasp::cli
