// Every match of a text in every node of the project, for the results list
// of 在工程中查找. Letter case of ASCII is ignored; a match begins on a
// character of its node's encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

class ProjectTree;
class TreeNode;

struct ProjectMatch {
    TreeNode *node = nullptr;
    std::size_t offset = 0;  // bytes of the node's text
    std::size_t length = 0;
    int row = 0;           // of the node's text, from 0
    int fileLine = 0;      // of the node's file, from 1
    std::string document;  // the file's document node's name (code page 936)
    std::string lineText;  // the matching line, UTF-8, blanks at its ends cut
};

// `search` is UTF-8; each node is searched in its own encoding. A repeated
// inclusion is searched once, at its first node. Tree order, then offset.
std::vector<ProjectMatch> FindAllInProject(ProjectTree &tree, std::string_view search);

}  // namespace qasp
