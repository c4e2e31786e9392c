#include "project/project_tree.h"

#include <gtest/gtest.h>

using namespace qasp;

namespace {

std::vector<std::string> PreOrder(const ProjectTree &tree)
{
    std::vector<std::string> out;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        out.push_back(n->DisplayText());
    return out;
}

std::vector<std::string> ChildTexts(const TreeNode *node)
{
    std::vector<std::string> out;
    for (const auto &c : node->Children())
        out.push_back(c->DisplayText());
    return out;
}

// Records every notification, to check views are told before and after.
struct Recorder : TreeObserver {
    std::vector<std::string> log;
    void BeforeInsert(TreeNode *, int row) override { log.push_back("+" + std::to_string(row)); }
    void BeforeRemove(TreeNode *n) override { log.push_back("-" + n->DisplayText()); }
    void BeforeMove(TreeNode *n, TreeNode *) override { log.push_back(">" + n->DisplayText()); }
    void BeforeSort(TreeNode *) override { log.emplace_back("sort"); }
    void SelectionChanged(TreeNode *n) override { log.emplace_back(n ? "sel" : "sel-none"); }
};

class ProjectTreeTest : public ::testing::Test {
protected:
    ProjectTreeTest()
    {
        root = tree.AddTopLevel("index.asp");
        inc = tree.AddChild(root, "inc/conn.asp");
        fn = tree.AddChild(inc, "Open(a)");
        tree.SetKind(fn, NodeKind::Procedure);
        other = tree.AddChild(root, "layout.asp");
    }
    ProjectTree tree;
    TreeNode *root, *inc, *fn, *other;
};

}  // namespace

TEST_F(ProjectTreeTest, PreOrderWalkAndIndexesAgree)
{
    EXPECT_EQ(PreOrder(tree),
              (std::vector<std::string>{"index.asp", "inc/conn.asp", "Open(a)", "layout.asp"}));
    EXPECT_EQ(tree.Count(), 4);
    for (int i = 0; i < tree.Count(); ++i)
        EXPECT_EQ(tree.IndexOf(tree.NodeAt(i)), i);
    EXPECT_EQ(tree.NodeAt(4), nullptr);
    EXPECT_EQ(tree.NodeAt(-1), nullptr);
    EXPECT_FALSE(fn->IsDocument());
    EXPECT_EQ(fn->Kind(), NodeKind::Procedure);
}

TEST_F(ProjectTreeTest, MoveRefusesATargetInsideTheMovedNode)
{
    EXPECT_FALSE(tree.Move(root, inc));
    EXPECT_FALSE(tree.Move(inc, inc));
    EXPECT_TRUE(tree.Move(inc, other));
    EXPECT_EQ(inc->Parent(), other);
    EXPECT_EQ(PreOrder(tree),
              (std::vector<std::string>{"index.asp", "layout.asp", "inc/conn.asp", "Open(a)"}));
}

TEST_F(ProjectTreeTest, DeleteTakesTheSubtreeAndTheSelectionWithIt)
{
    Recorder rec;
    tree.AddObserver(&rec);
    tree.SetSelected(fn);
    tree.Delete(inc);
    EXPECT_EQ(tree.Selected(), nullptr);
    EXPECT_EQ(PreOrder(tree), (std::vector<std::string>{"index.asp", "layout.asp"}));
    EXPECT_EQ(rec.log, (std::vector<std::string>{"sel", "-inc/conn.asp", "sel-none"}));
    tree.RemoveObserver(&rec);
}

TEST_F(ProjectTreeTest, NewNodesStayLastUntilASort)
{
    tree.AddChild(root, "about.asp");
    EXPECT_EQ(ChildTexts(root), (std::vector<std::string>{"inc/conn.asp", "layout.asp", "about.asp"}));
    tree.SortChildren(root);
    EXPECT_EQ(ChildTexts(root), (std::vector<std::string>{"about.asp", "inc/conn.asp", "layout.asp"}));
}

TEST(ProjectTreeSort, LocaleAwareCaseSensitiveOrder)
{
    ProjectTree tree;
    TreeNode *doc = tree.AddTopLevel("d");
    for (const char *name : {"ShowHeader", "alpha", "A", "a", "Zeta", "\xD6\xD0\xCE\xC4"})  // 中文
        tree.AddChild(doc, name);
    tree.SortChildren(doc);
    // Chinese before Latin in the zh_CN collation; then a, A, alpha: case
    // decides only between otherwise equal texts.
    EXPECT_EQ(ChildTexts(doc),
              (std::vector<std::string>{"\xD6\xD0\xCE\xC4", "a", "A", "alpha", "ShowHeader", "Zeta"}));
}

TEST_F(ProjectTreeTest, RenameResortsTheSiblings)
{
    Recorder rec;
    tree.AddObserver(&rec);
    tree.Rename(other, "a_first.asp");
    EXPECT_EQ(ChildTexts(root), (std::vector<std::string>{"a_first.asp", "inc/conn.asp"}));
    EXPECT_EQ(rec.log, (std::vector<std::string>{"sort"}));
    tree.RemoveObserver(&rec);
    // Top-level nodes are sorted among themselves.
    tree.AddTopLevel("extra.asp");
    tree.Rename(tree.TopLevel()[1].get(), "0.asp");
    EXPECT_EQ(tree.FirstTopLevel()->DisplayText(), "0.asp");
}

TEST_F(ProjectTreeTest, RecordsBelongToTheirNodes)
{
    EXPECT_EQ(root->Record(), nullptr);
    EXPECT_EQ(root->Text(), "");
    tree.AttachRecord(root, {"Dim a", "info"});
    ASSERT_NE(root->Record(), nullptr);
    EXPECT_EQ(root->Text(), "Dim a");
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(tree.FirstTopLevel(), nullptr);
}

// An include chain can be as deep as the project has nodes: deleting it,
// clearing the tree and destroying it must not take a stack frame per level.
TEST(ProjectTreeDepth, AChainAsDeepAsTheNodeLimitIsFreedWithoutRecursion)
{
    constexpr int kDepth = 200'000;
    for (int way = 0; way < 3; ++way) {
        auto tree = std::make_unique<ProjectTree>();
        TreeNode *top = tree->AddTopLevel("top");
        TreeNode *node = tree->AddChild(top, "0.asp");
        for (int i = 1; i < kDepth; ++i)
            node = tree->AddChild(node, std::to_string(i) + ".asp");
        if (way == 0)
            tree->Delete(top->FirstChild());
        else if (way == 1)
            tree->Clear();
        tree.reset();
    }
}
