// qasp tree ROOT.asp: the project as opening it in the editor loads it.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "cli/project_load.h"
#include "text/gbk_codec.h"

#include <iostream>

namespace qasp::cli {

int TreeCommand(Arguments args)
{
    LoadedProject project;
    LoadProject(args.Positional(1, "qasp tree ROOT.asp")[0], project, "tree");
    const ProjectTree &tree = project.tree;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        int depth = 0;
        for (const TreeNode *p = n->Parent(); p; p = p->Parent())
            ++depth;
        std::cout << std::string(depth * 2, ' ') << (n->IsDocument() ? 'D' : 'F') << ' '
                  << GbkToUtf8(n->DisplayText()) << '\t'
                  << GbkToUtf8(n->Record() ? n->Record()->Info : std::string()) << '\n';
    }
    std::cout << "option-explicit: " << (project.optionExplicit ? "yes" : "no") << '\n';
    return 0;
}

}  // namespace qasp::cli
