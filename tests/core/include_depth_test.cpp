// Include chains far deeper than any real site: the walks over them keep
// lists of their own, so the depth of the input never becomes the depth of
// the call stack.
#include "project/file_lines.h"
#include "project/outside_changes.h"
#include "project/project_tree.h"
#include "project/save_targets.h"
#include "scratch_dir.h"
#include "site/page_flattening.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <pthread.h>

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

// Runs `work` on a thread whose stack holds 256 KiB: a walk that recursed
// over 20,000 levels would overflow it, quickly.
void OnASmallStack(const std::function<void()> &work)
{
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, size_t{256} * 1024), 0);
    pthread_t thread;
    auto run = [](void *w) -> void * {
        (*static_cast<const std::function<void()> *>(w))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()> *>(&work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST(IncludeDepth, ALayoutSaveOfADeepChainPlansEveryDocument)
{
    constexpr int kDepth = 20'000;
    ScratchDir dir{"include_depth_plan"};
    ProjectTree tree;
    TreeNode *node = tree.AddTopLevel("d0.asp");
    tree.AttachRecord(node);
    for (int i = 1; i < kDepth; ++i) {
        node = tree.AddChild(node, "d" + std::to_string(i) + ".asp");
        tree.AttachRecord(node);
    }
    std::vector<DocumentTarget> targets;
    OnASmallStack([&] { targets = PlanProjectSave(*tree.FirstTopLevel(), dir.Path(), SystemFiles()); });
    ASSERT_EQ(targets.size(), static_cast<size_t>(kDepth));
    // Each document after the documents below it.
    EXPECT_EQ(targets.front().node, node);
    EXPECT_EQ(targets.back().node, tree.FirstTopLevel());
}

}  // namespace
