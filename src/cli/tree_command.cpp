// qasp tree ROOT.asp: the project as opening it in the editor loads it.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "text/file_path.h"
#include "text/gbk_codec.h"

#include <filesystem>
#include <iostream>

namespace qasp::cli {

int TreeCommand(Arguments args)
{
    // A path from a dialog is absolute; so is this one, to name the root
    // document by its bare file name.
    const std::string root = std::filesystem::absolute(
        args.Positional(1, "qasp tree ROOT.asp")[0]).string();
    KeywordStore store(":memory:");
    ProjectTree tree;
    LoadContext context;
    context.baseDir = ExtractFileDirNoSlash(root);
    bool optionExplicit = false;
    try {
        optionExplicit = LoadAspDocument(tree, nullptr, root, store, context);
    } catch (const LoadError &e) {
        for (const std::string &w : context.warnings)
            std::cerr << "qasp tree: " << w << '\n';
        throw CommandError(e.what());
    }
    for (const std::string &w : context.warnings)
        std::cerr << "qasp tree: " << w << '\n';
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        int depth = 0;
        for (const TreeNode *p = n->Parent(); p; p = p->Parent())
            ++depth;
        std::cout << std::string(depth * 2, ' ') << (n->IsDocument() ? 'D' : 'F') << ' '
                  << GbkToUtf8(n->DisplayText()) << '\t'
                  << GbkToUtf8(n->Record() ? n->Record()->Info : std::string()) << '\n';
    }
    std::cout << "option-explicit: " << (optionExplicit ? "yes" : "no") << '\n';
    return 0;
}

}  // namespace qasp::cli
