// Every node of the tree in pre-order (the order the tree shows them) with
// its depth, the top level at 0. The walk keeps its own list of pending
// nodes: a chain thousands of documents deep costs no stack, and no node's
// depth is found by walking up to the root.
#pragma once

#include "project/project_tree.h"

#include <utility>
#include <vector>

namespace qasp {

template <typename Visit> void VisitInPreOrder(const ProjectTree &tree, Visit visit)
{
    std::vector<std::pair<const TreeNode *, int>> pending;
    const auto push = [&pending](const std::vector<std::unique_ptr<TreeNode>> &nodes, int depth) {
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
            pending.emplace_back(it->get(), depth);
    };
    push(tree.TopLevel(), 0);
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        visit(*node, depth);
        push(node->Children(), depth + 1);
    }
}

}  // namespace qasp
