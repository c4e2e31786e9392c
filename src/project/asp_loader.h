// Loading an .asp file and its include chain into the project tree: each
// file a document node, each "Function ... End Function" block a function
// node, the rest of the script the document's page text. Globals and
// functions go into key_public on the way.
//
// Every file is read and parsed once, however often it is included: a
// repeated inclusion becomes a node that shares the record of the first
// (ProjectTree::ShareRecord) and has no children of its own. The chain is
// followed without recursion, so its depth costs no stack.
#pragma once

#include "project/project_tree.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace qasp {

class KeywordStore;

// The largest document the loader reads. Real pages stay far below it; a
// bigger file (a log, a data dump renamed .asp) would keep the window busy
// for seconds each time its node is shown, so it is refused with a message.
constexpr std::uintmax_t kMaxDocumentBytes = 2 * 1024 * 1024;

// The largest project: the bytes of its distinct files together, and its
// nodes (documents, repeated inclusions and functions). Real sites stay far
// below both; a generated or broken one is refused before it fills memory.
constexpr std::uintmax_t kMaxProjectBytes = 64 * 1024 * 1024;
constexpr std::size_t kMaxProjectNodes = 100'000;

// A file of the chain could not be read, or the project is over a limit;
// the message (UTF-8) names the file or the limit and the include line that
// led there. The whole load ends.
struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct LoadLimits {
    std::uintmax_t projectBytes = kMaxProjectBytes;
    std::size_t nodes = kMaxProjectNodes;
};

struct LoadContext {
    // Relative include paths, at every depth, are taken from here: the
    // directory of the file the user chose.
    std::filesystem::path baseDir;
    LoadLimits limits;
    // What was skipped and why (UTF-8): include cycles, include lines
    // without a quoted path.
    std::vector<std::string> warnings;
};

// Loads `file` as a document under `parent` (a new top-level node, with
// key_public emptied first, when parent is null); the node is named by the
// file's name (RootDisplayName). Returns whether this file itself holds a
// "<%option explicit%>" line outside its functions and before its closing
// "%>". Does not refresh the store.
bool LoadAspDocument(ProjectTree &tree, TreeNode *parent, const std::filesystem::path &file,
                     KeywordStore &store, LoadContext &context);

}  // namespace qasp
