// Where a name used in a page is declared, and where an include directive
// leads: what F12 and Ctrl+click in the editor go to. Names compare with
// ASCII case folded, as VBScript compares them; offsets are bytes of a
// node's text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qasp {

class ProjectTree;
class TreeNode;

// A stretch of a node's text.
struct NodePlace {
    TreeNode *node = nullptr;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// The bounds [begin, end) of the name around byte `offset` of `line` (the
// name just before the caret counts); begin == end when there is none.
struct NameBounds {
    std::size_t begin = 0, end = 0;
};
NameBounds NameAt(std::string_view line, std::size_t offset);

// Offsets of the declarations of `name` (Dim, Public, Private, Const,
// Function, Sub, Property, Class) in the server code of a node's text.
std::optional<std::size_t> DeclarationOffsetIn(const TreeNode &node, std::string_view name);

// The declaration of `name` (bytes of `from`'s encoding) seen from `from`:
// its own text first (a procedure's locals), then the rest of its file,
// then every other document of the project and its procedures in tree
// order. A repeated inclusion is searched through its first node.
std::optional<NodePlace> FindDeclaration(ProjectTree &tree, TreeNode &from, std::string_view name);

// The document node an include directive on `line` (a line of `from`)
// leads to when byte `offset` of the line is inside the directive.
TreeNode *IncludedDocumentAt(ProjectTree &tree, TreeNode &from, std::string_view line, std::size_t offset);

}  // namespace qasp
