// Loading an .asp page and every file it includes, as the web server
// assembles them, into the project tree: each file a document node, each of
// its procedures (Function, Sub, Class, ...) a child node holding the
// procedure's bytes, and the document's text the whole file but those
// procedures, HTML, directives and all, so that the file is the document's
// text with its procedures put back (document_assembly.h). Every byte is
// kept, in the file's own encoding and line ends. The includes are children
// of their document in the order of their directives. Global names and
// procedures go into key_public on the way.
//
// Every file is read and parsed once, however often it is included: a
// repeated inclusion becomes a node that shares the record of the first
// (ProjectTree::ShareRecord) and has no children of its own. The chain is
// followed without recursion, so its depth costs no stack.
#pragma once

#include "project/project_tree.h"
#include "site/include_kind.h"
#include "text/text_encoding.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qasp {

class KeywordStore;

// The largest document the loader reads: far above any real page (a big
// generated one is a few MiB), so that a page is refused for what it is (a
// log, a data dump renamed .asp), not for its size. The editor's cost of a
// key does not grow with the page; a large page costs memory.
constexpr std::uintmax_t kMaxDocumentBytes = std::uintmax_t{64} * 1024 * 1024;

// The largest project: the bytes of its distinct files together, and its
// nodes (documents, repeated inclusions and functions). Real sites stay far
// below both; a generated or broken one is refused before it fills memory.
constexpr std::uintmax_t kMaxProjectBytes = std::uintmax_t{256} * 1024 * 1024;
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
    std::uintmax_t documentBytes = kMaxDocumentBytes;  // each file's
};

// How the files' bytes are read: guessed for each file (a byte-order mark,
// the code page the page declares, valid UTF-8) or one encoding for all.
enum class EncodingChoice { Auto, Gbk, Utf8 };

// One include directive met while loading, for listings: where it stands
// (relative to the site root, UTF-8), what it names (as written, UTF-8) and
// whether it was followed; `skipped` is a reason word ("missing",
// "outside-site-root", "cycle", "binary", ...) when it was not.
struct IncludeMet {
    std::string file;
    int line = 0;
    IncludeKind kind = IncludeKind::File;
    std::string target;
    std::string skipped;
};

struct LoadContext {
    // The folder virtual="..." paths start from and no include leaves;
    // empty: the folder FindSiteRoot finds for the opened page. The load
    // leaves the root it used here.
    std::filesystem::path siteRoot;
    EncodingChoice encoding = EncodingChoice::Auto;
    // Files the user reopened in an encoding of their choice, by canonical
    // path: these win over `encoding`.
    std::map<std::string, TextEncoding> fileEncodings;
    LoadLimits limits;
    // What was skipped and why (UTF-8): include cycles, missing files,
    // directives leaving the site, pages whose structure was not clear.
    std::vector<std::string> warnings;
    // Every directive met, once per including file, in reading order.
    std::vector<IncludeMet> includes;
};

// Loads `file` as a document under `parent` (a new top-level node, with
// key_public emptied first, when parent is null); the node is named by the
// file's name (RootDisplayName). Returns whether this file itself holds a
// "<%option explicit%>" line. Does not refresh the store. Throws LoadError
// when the page itself cannot be read or a limit is crossed, and
// SiteRootError when the page is not inside context.siteRoot.
bool LoadAspDocument(ProjectTree &tree, TreeNode *parent, const std::filesystem::path &file,
                     KeywordStore &store, LoadContext &context);

// What identifies a file however a directive spells it: its canonical path.
std::string FileKey(const std::filesystem::path &file);

}  // namespace qasp
