#include "vbscript/syntax_tree.h"

#include "vbscript/names.h"

namespace qasp::vbs {

std::vector<NodeId> SyntaxTree::Children(NodeId id) const
{
    std::vector<NodeId> out;
    for (NodeId c = nodes[id].firstChild; c != kNoNode; c = nodes[c].nextSibling)
        out.push_back(c);
    return out;
}

std::vector<const Declaration *> SyntaxTree::FindDeclarations(std::string_view name,
                                                              TextEncoding encoding) const
{
    std::vector<const Declaration *> out;
    for (const Declaration &d : declarations)
        if (NamesEqual(d.name, name, encoding))
            out.push_back(&d);
    return out;
}

}  // namespace qasp::vbs
