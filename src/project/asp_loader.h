// Loading an .asp file and its include chain into the project tree: each
// file a document node, each "Function ... End Function" block a function
// node, the rest of the script the document's page text. Globals and
// functions go into key_public on the way.
#pragma once

#include "project/project_tree.h"

#include <filesystem>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

class KeywordStore;

// A file of the chain could not be read; the message (UTF-8) names it and
// the include line that led to it. The whole load ends.
// The largest document the loader reads. Real pages stay far below it; a
// bigger file (a log, a data dump renamed .asp) would keep the window busy
// for seconds each time its node is shown, so it is refused with a message.
constexpr std::uintmax_t kMaxDocumentBytes = 2 * 1024 * 1024;

struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct LoadContext {
    // Relative include paths, at every depth, are taken from here: the
    // directory of the file the user chose.
    std::string baseDir;
    // What was skipped and why (UTF-8): include cycles, include lines
    // without a quoted path.
    std::vector<std::string> warnings;

    // Files being loaded, outermost first, and where each was included.
    struct Frame {
        std::filesystem::path file;
        std::string name;
    };
    std::vector<Frame> chain;
};

// Loads `fileName` as a document under `parent` (a new top-level node, with
// key_public emptied first, when parent is null). Returns whether this file
// itself holds a "<%option explicit%>" line outside its functions and before
// its closing "%>". Does not refresh the store.
bool LoadAspDocument(ProjectTree &tree, TreeNode *parent, std::string_view fileName,
                     KeywordStore &store, LoadContext &context);

}  // namespace qasp
