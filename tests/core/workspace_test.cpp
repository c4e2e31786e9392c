#include "editor/colour_table.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "gbk_literal.h"
#include "fake_window.h"
#include "project/window_surface.h"
#include "project/workspace.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

using namespace qasp;
using qasp::testing::FakeWindow;

namespace {

class WorkspaceTest : public ::testing::Test {
protected:
    WorkspaceTest()
    {
        root = tree.AddTopLevel("index.asp");
        tree.AttachRecord(root, {"Dim gCount\r\nResponse.write gCount", Gbk("链接ASP文件:1个;函数:1个")});
        inc = tree.AddChild(root, "inc.asp");
        tree.AttachRecord(inc, {"Dim x", ""});
        fn = tree.AddChild(root, "Show(a, b)");
        tree.SetKind(fn, NodeKind::Procedure);
        tree.AttachRecord(fn, {"Function Show(a, b)\r\n\tDim local\r\nEnd Function", Gbk("启始行数:7")});
        store.ReplaceKeyword(KeywordTable::Public, "gCount", "x", kGlobalVariable);
        store.RefreshKeywords();
    }

    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    TreeNode *root, *inc, *fn;
};

}  // namespace

TEST_F(WorkspaceTest, SelectingAFunctionFillsItsLocalsAndShowsItsText)
{
    ws.SelectNode(fn);
    EXPECT_EQ(tree.Selected(), fn);
    EXPECT_EQ(window.memo.Text(), fn->Text());
    EXPECT_TRUE(window.memo.IsLive());
    EXPECT_EQ(window.status[0], "启始行数:7");
    EXPECT_FALSE(window.enabled[ActionId::New]);
    EXPECT_FALSE(window.enabled[ActionId::AddAsp]);
    EXPECT_FALSE(window.enabled[ActionId::SaveSelect]);
    EXPECT_FALSE(window.enabled[ActionId::Paste]);
    std::string local = "LOCAL";
    EXPECT_EQ(store.LookupKeyword(local), kLocalVariable);
    EXPECT_EQ(window.memo.ColourAt(1, "local"), ColourOfKeyType(kLocalVariable));
    EXPECT_EQ(ws.LastLine, 0);
    EXPECT_EQ(ws.LastLineText, "Function Show(a, b)");
}

TEST_F(WorkspaceTest, SelectingADocumentLeavesTheFunctionsLocals)
{
    ws.SelectNode(fn);
    ws.SelectNode(root);
    EXPECT_EQ(store.TableRows(KeywordTable::Other).size(), 3u);  // a, b, local
    EXPECT_TRUE(window.enabled[ActionId::New]);
    EXPECT_TRUE(window.enabled[ActionId::SaveSelect]);
    EXPECT_FALSE(window.enabled[ActionId::Paste]);  // no cut mark: unchanged
    // The words as written (the file's bytes), a global in its colour.
    EXPECT_EQ(window.memo.LineText(1), "Response.write gCount");
    EXPECT_EQ(root->Text(), "Dim gCount\r\nResponse.write gCount");  // loading changes no Text
}

TEST_F(WorkspaceTest, TheStatusLineIsUtf8AndNamesTheFilesEncodingAndLineEnds)
{
    ws.SelectNode(root);
    EXPECT_EQ(window.status[0], "链接ASP文件:1个;函数:1个");
    EXPECT_EQ(window.status[3], "GBK CRLF");
    TTreeRec utf8("Dim conn", {}, TextEncoding::Utf8);
    utf8.Doc->SetLineBreaks(LineEnds::Lf);
    tree.AttachRecord(inc, std::move(utf8));
    ws.SelectNode(inc);  // no status line of its own
    EXPECT_EQ(window.status[0], "");
    EXPECT_EQ(window.status[3], "UTF-8 LF");
    EXPECT_EQ(window.memo.Encoding(), TextEncoding::Utf8);
}

TEST_F(WorkspaceTest, PasteIsOfferedOnlyOutsideTheCutNode)
{
    ws.CutNode = root;
    ws.SelectNode(inc);
    EXPECT_FALSE(window.enabled[ActionId::Paste]);
    ws.CutNode = inc;
    ws.SelectNode(root);
    EXPECT_TRUE(window.enabled[ActionId::Paste]);
    ws.SelectNode(inc);
    EXPECT_FALSE(window.enabled[ActionId::Paste]);
}

TEST_F(WorkspaceTest, EditsFlowIntoTheSelectedNodeOnlyWhileLive)
{
    ws.SelectNode(inc);
    window.memo.MoveCaretToEnd();
    window.memo.Write(", y", 0);
    ws.CMemoChange();
    EXPECT_EQ(inc->Text(), "Dim x, y");
    window.memo.SetLive(false);
    window.memo.Write("z", 0);
    ws.CMemoChange();
    EXPECT_EQ(inc->Text(), "Dim x, y");
}

// A node whose text the editor fails to take leaves the editor off: it
// holds part of a node that is not selected, which must not flow into the
// node that is.
TEST_F(WorkspaceTest, AFailedSelectionKeepsTheEditorAwayFromTheSelectedNode)
{
    ws.SelectNode(inc);
    window.memo.failWrites = true;
    EXPECT_THROW(ws.SelectNode(fn), std::runtime_error);
    EXPECT_EQ(tree.Selected(), inc);
    EXPECT_FALSE(window.memo.IsLive());
    window.memo.failWrites = false;
    window.memo.Write("typed", 0);
    ws.CMemoChange();
    EXPECT_EQ(inc->Text(), "Dim x");
}

TEST_F(WorkspaceTest, TheCutMarkIsForgottenWithItsNode)
{
    ws.CutNode = fn;
    tree.Delete(fn);
    EXPECT_EQ(ws.CutNode, nullptr);
    ws.CutNode = inc;
    tree.Clear();
    EXPECT_EQ(ws.CutNode, nullptr);
}
