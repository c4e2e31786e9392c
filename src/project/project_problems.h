// The problems of the open project's page as the server would meet them:
// the root page checked with its includes from the documents' texts as
// they are now (unsaved edits included), each problem placed in the
// document node that shows its file. The check itself reads no tree, only
// a copy of the texts, so it may run on another thread while the user types.
#pragma once

#include "text/text_encoding.h"
#include "vbscript/diagnostic.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace qasp {

class ProjectTree;
class TreeNode;

// What a check needs, copied from the tree: the root page, the site root
// (empty: the one found from the page) and the text of each document that
// has a file.
struct ProblemCheckInput {
    std::filesystem::path page;
    std::filesystem::path siteRoot;
    struct Text {
        std::filesystem::path file;
        std::string bytes;
        TextEncoding encoding = TextEncoding::Gbk;
    };
    std::vector<Text> texts;
};

// Nothing to check (no page loaded from a file): an input without a page.
ProblemCheckInput ProblemCheckInputOf(const ProjectTree &tree, const std::filesystem::path &siteRoot);

// The revisions of every document, summed: it grows with any edit, so a
// check's places are stale once it has grown.
std::uint64_t TextRevisions(const ProjectTree &tree);

// One problem as the window lists it.
struct Problem {
    std::string fileKey;    // the file's real path
    std::string shownFile;  // below the site root, UTF-8 ("inc/conn.asp")
    vbs::Diagnostic diagnostic;
    std::string message;  // Chinese, UTF-8
    std::string code;     // "800A0400", "ASP0126", "unused-variable"
};

struct ProblemCheck {
    std::vector<Problem> problems;  // by file, then place
    std::string failure;            // why the page could not be checked, UTF-8
    int errors = 0, warnings = 0;
};

ProblemCheck CheckProblems(const ProblemCheckInput &input);

// The document node that shows each file, by the file's real path: the
// first loaded one when a file is included more than once.
using DocumentNodes = std::unordered_map<std::string, TreeNode *>;
DocumentNodes DocumentNodesOf(const ProjectTree &tree);

// Where a problem shows: its file's document node and the problem's bytes
// in that node's text (none for a word missing at a line's end). No
// node when the project shows no document of the file.
struct ProblemPlace {
    TreeNode *node = nullptr;
    std::size_t offset = 0, length = 0;
};
ProblemPlace PlaceOf(const DocumentNodes &nodes, const Problem &problem);

}  // namespace qasp
