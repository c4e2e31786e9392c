// qasp tree ROOT.asp: the project as opening it in the editor loads it.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "cli/project_load.h"
#include "project/tree_walk.h"
#include "text/line_ends.h"
#include "text/gbk_codec.h"
#include "text/text_encoding.h"

#include <iostream>
#include <unordered_map>

namespace qasp::cli {
namespace {

// A node's status line; a repeated inclusion names where its document was
// loaded instead of repeating that document's counts.
std::string StatusLine(const TreeNode &node, const TreeNode *first)
{
    if (node.IsRepeat() && first) {
        std::string where = GbkToUtf8(first->DisplayText());
        if (first->Parent())
            where = GbkToUtf8(first->Parent()->DisplayText()) + " 下的 " + where;
        return "重复包含，内容见 " + where;
    }
    const TTreeRec *record = node.Record();
    if (!record)
        return {};
    std::string line = GbkToUtf8(record->Info);
    if (node.IsDocument() && record->Doc)
        line += std::string("\t") + TextEncodingName(record->Doc->Encoding()) + ' '
                + LineEndsName(record->Doc->LineBreaks());
    return line;
}

}  // namespace

int TreeCommand(Arguments args)
{
    const LoadOptions options = TakeLoadOptions(args);
    LoadedProject project;
    LoadProject(args.Positional(1, "qasp tree ROOT.asp " + std::string(kLoadOptionsUsage))[0], project,
                "tree", options);
    const ProjectTree &tree = project.tree;
    std::unordered_map<const TTreeRec *, const TreeNode *> firstOf;
    VisitInPreOrder(tree, [&firstOf](const TreeNode &n, int) {
        if (!n.IsRepeat())
            firstOf.emplace(n.Record(), &n);
    });
    VisitInPreOrder(tree, [&firstOf](const TreeNode &n, int depth) {
        const auto first = firstOf.find(n.Record());
        std::cout << std::string(static_cast<size_t>(depth) * 2, ' ') << (n.IsDocument() ? 'D' : 'F') << ' '
                  << GbkToUtf8(n.DisplayText()) << '\t'
                  << StatusLine(n, first == firstOf.end() ? nullptr : first->second) << '\n';
    });
    std::cout << "option-explicit: " << (project.optionExplicit ? "yes" : "no") << '\n';
    return 0;
}

}  // namespace qasp::cli
