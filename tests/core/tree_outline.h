// A project tree as lines: two spaces per depth, "D " or "F ", the name.
#pragma once

#include "project/project_tree.h"

#include <string>
#include <vector>

namespace qasp::testing {

inline std::vector<std::string> Outline(const ProjectTree &tree)
{
    std::vector<std::string> out;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        size_t depth = 0;
        for (TreeNode *p = n->Parent(); p; p = p->Parent())
            ++depth;
        out.push_back(std::string(depth * 2, ' ') + (n->IsDocument() ? "D " : "F ") + n->DisplayText());
    }
    return out;
}

}  // namespace qasp::testing
