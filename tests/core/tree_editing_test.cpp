#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "fake_window.h"
#include "gbk_literal.h"
#include "project/project_search.h"
#include "project/tree_editing.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <gtest/gtest.h>

using namespace qasp;
using qasp::testing::FakeWindow;
using qasp::testing::RecordingPrompter;

namespace {

class TreeEditingTest : public ::testing::Test {
protected:
    TreeEditingTest()
    {
        root = tree.AddTopLevel("index.asp");
        tree.AttachRecord(root, {"Dim a\r\nResponse.Write \"Hello\""});
        fn = tree.AddChild(root, "Foo(a, b)");
        tree.SetKind(fn, NodeKind::Procedure);
        tree.AttachRecord(fn, {"Function Foo(a, b)\r\n\tFoo = a\r\nEnd Function"});
        inc = tree.AddChild(root, "inc.asp");
        tree.AttachRecord(inc, {Gbk("' 中文 hello")});
        store.ReplaceKeyword(KeywordTable::Public, "Foo", "Foo(a, b)", kProjectFunction);
        store.ReplaceKeyword(KeywordTable::Public, "a", Gbk("变量"), kGlobalVariable);
        store.RefreshKeywords();
    }

    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    RecordingPrompter prompter;
    TreeNode *root, *fn, *inc;
};

}  // namespace

TEST_F(TreeEditingTest, FindNodeByNameComparesBareNamesWithoutCase)
{
    EXPECT_EQ(FindNodeByName(tree, "foo(x)"), 1);
    EXPECT_EQ(FindNodeByName(tree, "FOO"), 1);
    EXPECT_EQ(FindNodeByName(tree, "INC.ASP"), 2);
    EXPECT_EQ(FindNodeByName(tree, "bar"), std::nullopt);
}

TEST_F(TreeEditingTest, AddingAnExistingNameOffersToShowIt)
{
    ws.SelectNode(inc);
    prompter.inputs = {"  Foo  "};
    prompter.answers = {Answer::Yes};
    AddAspDocument(ws, prompter);
    EXPECT_EQ(tree.Count(), 3);
    EXPECT_EQ(tree.Selected(), fn);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1], "错误提示|已经有了这个结点!你想看看这个文档吗?");
}

TEST_F(TreeEditingTest, DocumentsGoUnderTheSelectedDocumentNeverUnderAFunction)
{
    prompter.inputs = {"about.asp"};
    AddAspDocument(ws, prompter);  // nothing selected: top level
    EXPECT_EQ(tree.TopLevel().size(), 2u);
    EXPECT_EQ(tree.Selected()->DisplayText(), "about.asp");
    ws.SelectNode(fn);
    prompter.inputs = {"x.asp"};
    AddAspDocument(ws, prompter);
    EXPECT_EQ(prompter.shown.back(), "不能将文档添加到一个函数中!");
    prompter.inputs = {""};
    AddAspDocument(ws, prompter);  // an empty answer ends it
    EXPECT_EQ(tree.Count(), 4);
}

TEST_F(TreeEditingTest, AddFunctionWritesTheSkeletonAndItsKeyword)
{
    prompter.inputs = {"Function Bar()"};
    AddFunction(ws, prompter);
    EXPECT_EQ(prompter.shown.back(), "不能将函数直接添加到空文档中,你应该先添加一个ASP文档");
    ws.SelectNode(root);
    prompter.inputs = {"Function Bar()"};
    AddFunction(ws, prompter);
    TreeNode *bar = tree.Selected();
    ASSERT_NE(bar, root);
    EXPECT_EQ(bar->DisplayText(), "Function Bar()");
    EXPECT_EQ(bar->Text(), "Function Function Bar()\r\n\r\nEnd Function\r\n");
    EXPECT_FALSE(bar->IsDocument());
    std::string name = "bar";
    EXPECT_EQ(store.LookupKeyword(name), kProjectFunction);
    EXPECT_EQ(window.memo.Text(), bar->Text());
}

TEST_F(TreeEditingTest, DeletingAFunctionRemovesItsKeywordADocumentKeepsThem)
{
    ws.SelectNode(fn);
    DeleteSelectedNode(ws, prompter);
    std::string foo = "Foo";
    EXPECT_EQ(store.LookupKeyword(foo), -1);
    EXPECT_EQ(tree.Count(), 2);
    ws.SelectNode(root);
    DeleteSelectedNode(ws, prompter);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(prompter.shown.back(), "你需要重载主文件以便刷新全局列表!");
    EXPECT_EQ(store.TableRows(KeywordTable::Public).size(), 1u);  // "a" stays
    DeleteSelectedNode(ws, prompter);
    EXPECT_EQ(prompter.shown.back(), "没有选择要删除的节点!无法操作!");
}

TEST_F(TreeEditingTest, FindInNodeCountsBytesAndFindsAtOffsetZero)
{
    EXPECT_EQ(FindInNode(root, "DIM", 0, prompter), 0u);
    EXPECT_EQ(FindInNode(root, "hello", 0, prompter), 23u);  // "Dim a" CR LF "Response.Write \"
    EXPECT_EQ(FindInNode(root, "dim", 1, prompter), std::nullopt);
    EXPECT_EQ(FindInNode(root, "a", 1000, prompter), std::nullopt);
    EXPECT_EQ(FindInNode(inc, "hello", 0, prompter), 7u);  // the two Chinese characters count 4
    EXPECT_EQ(FindInNode(nullptr, "x", 0, prompter), std::nullopt);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(FindInNode(root, "", 0, prompter), std::nullopt);
    EXPECT_EQ(prompter.shown.back(), "请预先定义要搜索字串值!");
}

TEST_F(TreeEditingTest, ASearchNeverMatchesHalfAChineseCharacter)
{
    tree.AttachRecord(inc, {"\xB0\x4C"
                            "x"});  // the second byte is 'L'
    EXPECT_EQ(FindInNode(inc, "L", 0, prompter), std::nullopt);
    EXPECT_EQ(FindInNode(inc, "x", 0, prompter), 2u);
}

TEST_F(TreeEditingTest, ProjectSearchWrapsRoundAndSkipsTheSelectedNode)
{
    ws.SelectNode(inc);
    EXPECT_EQ(FindInProject(ws, "foo", prompter), 9u);  // in "Function Foo(a, b)", after wrapping
    EXPECT_EQ(tree.Selected(), fn);
    // "hello" stands in inc and root; from fn the walk reaches inc first.
    EXPECT_EQ(FindInProject(ws, "hello", prompter), 7u);
    EXPECT_EQ(tree.Selected(), inc);
    EXPECT_EQ(FindInProject(ws, Gbk("中文"), prompter), std::nullopt);  // only in inc itself
    EXPECT_EQ(prompter.shown.back(), "全部文档中没有找到[中文]这个字符串!");
}

TEST_F(TreeEditingTest, ProjectSearchWithOneNodeReportsAtOnce)
{
    ProjectTree single;
    TreeNode *only = single.AddTopLevel("a.asp");
    single.AttachRecord(only, {"x"});
    ProjectWorkspace other(single, store, window);
    other.SelectNode(only);
    EXPECT_EQ(FindInProject(other, "x", prompter), std::nullopt);
    EXPECT_EQ(prompter.shown.back(), "全部文档中没有找到[x]这个字符串!");
    other.SelectNode(nullptr);
    EXPECT_EQ(FindInProject(other, "x", prompter), std::nullopt);
    EXPECT_EQ(prompter.shown.back(), "没有选择要搜索的节点!无法完成任务!");
}
