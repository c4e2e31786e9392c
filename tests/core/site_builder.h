// Test sites on disk (files, folders, symbolic links) and project trees
// whose documents are recorded as read from their files, as the loader
// records them.
#pragma once

#include "project/file_fingerprint.h"
#include "project/project_tree.h"
#include "scratch_dir.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qasp::testing {

// Each entry names a path below `root` and what it holds: bytes, or
// "->TARGET" for a symbolic link, "=>OTHER" for a second hard link to the
// file OTHER (below `root`), or "/" for a folder.
using SiteFiles = std::vector<std::pair<std::string, std::string>>;

inline void MakeSite(const std::filesystem::path &root, const SiteFiles &files)
{
    namespace fs = std::filesystem;
    for (const auto &[name, content] : files) {
        const fs::path path = root / name;
        fs::create_directories(path.parent_path());
        if (content == "/")
            fs::create_directories(path);
        else if (content.rfind("->", 0) == 0)
            fs::create_symlink(content.substr(2), path);
        else if (content.rfind("=>", 0) == 0)
            fs::create_hard_link(root / content.substr(2), path);
        else
            WriteAll(path, content);
    }
}

// A document node with `text`; with a `source`, recorded as read from that
// file just now.
inline TreeNode *AddDocument(ProjectTree &tree, TreeNode *parent, const std::string &display,
                             const std::string &text, const std::filesystem::path &source = {})
{
    TreeNode *node = parent ? tree.AddChild(parent, display) : tree.AddTopLevel(display);
    TTreeRec record{text};
    if (!source.empty()) {
        record.SourceFile = source;
        record.Loaded = CurrentFingerprint(source);
    }
    tree.AttachRecord(node, std::move(record));
    return node;
}

// A procedure node under `document` showing `text`, which is put at the end
// of the document's text (after a line break when the text does not end
// with one), as the loader shows a procedure: a range of its file.
inline TreeNode *AddProcedure(ProjectTree &tree, TreeNode *document, const std::string &display,
                              const std::string &text)
{
    Document &doc = *document->Doc();
    const std::string &now = doc.Text();
    const std::string br = now.empty() || now.back() == '\n' ? "" : "\r\n";
    const size_t begin = now.size() + br.size();
    doc.Apply({now.size(), {}, br + text});
    doc.ClearHistory();
    TreeNode *node = tree.AddChild(document, display);
    tree.SetKind(node, NodeKind::Procedure);
    TTreeRec record;
    record.Doc = document->Record()->Doc;
    record.Range = doc.Ranges().Add({begin, begin + text.size()});
    tree.AttachRecord(node, std::move(record));
    return node;
}

}  // namespace qasp::testing
