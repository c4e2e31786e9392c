// The tree as an S-expression, for tests and for looking at a parse:
// "Dim a(3) : x = a(1) + 2" gives (program (dim (a 3)) (assign x (+ (apply a 1) 2))).
// Names and literals print as written; keywords in lower case.
#pragma once

#include "vbscript/syntax_tree.h"

#include <string>

namespace qasp::vbs {

struct DumpOptions {
    bool positions = false;  // "name@line:column" on every node
};

// The subtree under `from`.
std::string DumpNode(const SyntaxTree &tree, NodeId from, DumpOptions options = {});
inline std::string DumpTree(const SyntaxTree &tree, DumpOptions options = {})
{
    return DumpNode(tree, tree.root, options);
}

}  // namespace qasp::vbs
