// Include chains far deeper than any real site: the walks over them keep
// lists of their own, so the depth of the input never becomes the depth of
// the call stack.
#include "project/file_lines.h"
#include "project/outside_changes.h"
#include "project/project_tree.h"
#include "scratch_dir.h"
#include "site/page_flattening.h"

#include <gtest/gtest.h>

#include <string>

using namespace qasp;
using qasp::testing::ScratchDir;
using qasp::testing::WriteAll;

namespace {

// Deep enough to overflow an 8 MB stack with a frame of a few dozen bytes.
constexpr int kTreeDepth = 300'000;

TEST(IncludeDepth, AChainOfThousandsOfFilesFlattens)
{
    constexpr int kFiles = 8000;
    ScratchDir dir{"include_depth_flatten"};
    for (int i = 0; i < kFiles; ++i) {
        const std::string next = i + 1 < kFiles
                                     ? "<!--#include file=\"p" + std::to_string(i + 1) + ".asp\"-->"
                                     : std::string("end");
        WriteAll(dir / ("p" + std::to_string(i) + ".asp"), "a" + std::to_string(i) + "\r\n" + next + "\r\n");
    }
    const FlattenResult flat = FlattenPage(dir / "p0.asp", SiteRoot(dir.Path()));
    EXPECT_TRUE(flat.warnings.empty());
    EXPECT_EQ(flat.bytes.substr(0, 8), "a0\r\na1\r\n");
    // Each file's own line break follows its directive, innermost first.
    std::string expectedTail = "a" + std::to_string(kFiles - 1) + "\r\nend\r\n";
    for (int i = 0; i < kFiles - 1; ++i)
        expectedTail += "\r\n";
    EXPECT_EQ(flat.bytes.substr(flat.bytes.size() - expectedTail.size()), expectedTail);
}

// A chain of documents, each the only child of the one above; returns the
// deepest.
TreeNode *Chain(ProjectTree &tree, int depth)
{
    TreeNode *node = tree.AddTopLevel("d0.asp");
    tree.AttachRecord(node);
    for (int i = 1; i < depth; ++i) {
        node = tree.AddChild(node, "d.asp");
        tree.AttachRecord(node);
    }
    return node;
}

TEST(IncludeDepth, ARepeatFindsTheDocumentLoadedFirstAtAnyDepth)
{
    ProjectTree tree;
    TreeNode *deepest = Chain(tree, kTreeDepth);
    TreeNode *repeat = tree.AddChild(tree.FirstTopLevel(), "again.asp");
    tree.ShareRecord(repeat, deepest);
    EXPECT_EQ(FileDocumentOf(*repeat), deepest);
}

TEST(IncludeDepth, AnEditAtTheBottomOfADeepChainIsSeenFromTheTop)
{
    ProjectTree tree;
    TreeNode *deepest = Chain(tree, kTreeDepth);
    EXPECT_FALSE(DocumentEdited(*tree.FirstTopLevel()));
    deepest->Record()->Edited = true;
    EXPECT_TRUE(DocumentEdited(*tree.FirstTopLevel()));
}

}  // namespace
