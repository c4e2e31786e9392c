// Loads the scratch project's index.asp and writes the tree back in memory,
// checking what must hold for any input.
#pragma once

#include "editor/keyword_store.h"
#include "fuzz_files.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/layout_check.h"

#include <cstdlib>

namespace qasp::fuzz {

inline void LoadAndWrite()
{
    static KeywordStore store(":memory:");
    ProjectTree tree;
    LoadContext context;
    context.siteRoot = ScratchDir();
    bool optionExplicit = false;
    try {
        optionExplicit = LoadAspDocument(tree, nullptr, ScratchDir() / "index.asp", store, context);
    } catch (const LoadError &) {
        // A missing include: the load ends, but every node has its record.
    }
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        if (!n->Record())
            std::abort();
        // A repeated inclusion has no children of its own.
        if (n->IsRepeat() && !n->Children().empty())
            std::abort();
        // A document judged safe to rewrite is written back as its file.
        const TTreeRec &rec = *n->Record();
        if (n->IsDocument() && !n->IsRepeat() && rec.Loaded && !rec.LayoutLoses
            && !LayoutGivesBack(ReadScratch(rec.SourceFile), *n, !n->Parent() && optionExplicit))
            std::abort();
    }
    SingleDocumentBytes(tree, true);
}

}  // namespace qasp::fuzz
