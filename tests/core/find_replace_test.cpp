#include "editor/keyword_store.h"
#include "fake_window.h"
#include "gbk_literal.h"
#include "project/find_replace.h"
#include "project/workspace.h"
#include "site_builder.h"

#include <gtest/gtest.h>

using namespace qasp;
using qasp::testing::FakeWindow;

namespace {

class FindReplaceTest : public ::testing::Test {
protected:
    FindReplaceTest()
    {
        root = tree.AddTopLevel("index.asp");
        tree.AttachRecord(root, {"Dim total\r\ntotal = 1", ""});
        inc = tree.AddChild(root, "inc.asp");
        tree.AttachRecord(inc, {Gbk("' 合计\r\nResponse.Write total"), ""});
        fn = qasp::testing::AddProcedure(tree, root, "Show()",
                                         "Function Show()\r\n\tShow = TOTAL\r\nEnd Function");
        ws.SelectNode(root);
        window.memo.SetSelection(0, 0);
    }

    FindRequest Request(std::string pattern, FindScope scope = FindScope::Project)
    {
        FindRequest r;
        r.pattern = std::move(pattern);
        r.scope = scope;
        return r;
    }
    // The selected node's name and the selection.
    std::string Where()
    {
        return tree.Selected()->DisplayText() + "@" + std::to_string(window.memo.SelectionStart()) + "+"
               + std::to_string(window.memo.SelectionLength());
    }

    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    TreeNode *root, *inc, *fn;
};

// The procedure's text, which stands at the end of index.asp's.
const std::string kShow = "Function Show()\r\n\tShow = TOTAL\r\nEnd Function";

}  // namespace

TEST_F(FindReplaceTest, FindingWalksTheProjectInTreeOrderAndWrapsOnce)
{
    const FindRequest r = Request("total");
    std::vector<std::string> seen;
    std::vector<bool> wrapped;
    for (int i = 0; i < 6; ++i) {
        const FindOutcome o = FindNextMatch(ws, r);
        ASSERT_TRUE(o.found);
        seen.push_back(Where());
        wrapped.push_back(o.wrapped);
    }
    // A procedure's text is in its document's: found there, once.
    EXPECT_EQ(seen, (std::vector<std::string>{"index.asp@4+5", "index.asp@11+5", "index.asp@47+5",
                                              "inc.asp@23+5", "index.asp@4+5", "index.asp@11+5"}));
    EXPECT_EQ(wrapped, (std::vector<bool>{false, false, false, false, true, false}));
}

TEST_F(FindReplaceTest, WrappingIsSaidAndNotFoundOnlyWhenNothingMatches)
{
    ws.SelectNode(fn);
    window.memo.SetSelection(30, 0);  // past the only match of the last node
    FindOutcome o = FindNextMatch(ws, Request("show"));
    EXPECT_TRUE(o.found);
    EXPECT_TRUE(o.wrapped);
    EXPECT_EQ(o.message, "已到达工程末尾，从开头继续查找");
    // The only matches are before the caret of this node: found again in
    // its document, which shows the whole file.
    EXPECT_EQ(Where(), "index.asp@31+4");

    o = FindNextMatch(ws, Request("nowhere"));
    EXPECT_FALSE(o.found);
    EXPECT_EQ(o.message, "找不到“nowhere”");

    FindRequest noWrap = Request("total");
    noWrap.wrap = false;
    ws.SelectNode(inc);
    window.memo.SetSelection(inc->Text().size(), 0);
    o = FindNextMatch(ws, noWrap);
    EXPECT_FALSE(o.found);
    EXPECT_EQ(o.message, "已到达工程末尾，后面没有“total”");
    EXPECT_EQ(Where(), "inc.asp@28+0");  // nothing moved
}

TEST_F(FindReplaceTest, TheNodeScopeStaysInTheSelectedNode)
{
    ws.SelectNode(inc);
    const FindRequest r = Request("合计", FindScope::Node);
    EXPECT_TRUE(FindNextMatch(ws, r).found);
    EXPECT_EQ(Where(), "inc.asp@2+4");
    const FindOutcome again = FindNextMatch(ws, r);
    EXPECT_TRUE(again.wrapped);
    EXPECT_EQ(again.message, "已到达节点末尾，从开头继续查找");
    EXPECT_EQ(Where(), "inc.asp@2+4");
    EXPECT_FALSE(FindNextMatch(ws, Request("Function", FindScope::Node)).found);
}

TEST_F(FindReplaceTest, ABadPatternIsToldAndNothingChanges)
{
    FindRequest r = Request("(total");
    r.options.regex = true;
    EXPECT_NE(FindNextMatch(ws, r).message.find("正则表达式有误"), std::string::npos);
    EXPECT_NE(ReplaceAllMatches(ws, r).message.find("正则表达式有误"), std::string::npos);
    EXPECT_EQ(root->Text(), "Dim total\r\ntotal = 1\r\n" + kShow);
}

TEST_F(FindReplaceTest, ReplaceTakesTheSelectedMatchThenFindsTheNext)
{
    FindRequest r = Request("total");
    r.replacement = "sum";
    FindOutcome o = ReplaceAndFindNext(ws, r);  // the caret is no match: only finds
    EXPECT_EQ(o.replaced, 0u);
    EXPECT_EQ(Where(), "index.asp@4+5");
    o = ReplaceAndFindNext(ws, r);
    EXPECT_EQ(o.replaced, 1u);
    EXPECT_EQ(root->Text(), "Dim sum\r\ntotal = 1\r\n" + kShow);
    EXPECT_EQ(Where(), "index.asp@9+5");
    EXPECT_TRUE(ws.Undo());
    EXPECT_EQ(root->Text(), "Dim total\r\ntotal = 1\r\n" + kShow);
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepAcrossTheProjectsFiles)
{
    FindRequest r = Request("total");
    r.replacement = "grandTotal";
    const FindOutcome o = ReplaceAllMatches(ws, r);
    EXPECT_EQ(o.replaced, 4u);
    EXPECT_EQ(o.message, "已替换 4 处（2 个节点）");
    EXPECT_EQ(fn->Text(), "Function Show()\r\n\tShow = grandTotal\r\nEnd Function");
    EXPECT_EQ(root->Text(), "Dim grandTotal\r\ngrandTotal = 1\r\n" + std::string(fn->Text()));
    EXPECT_EQ(inc->Text(), Gbk("' 合计\r\nResponse.Write grandTotal"));
    EXPECT_EQ(tree.Selected(), root);  // back where the user was
    EXPECT_EQ(window.memo.Text(), root->Text());
    EXPECT_TRUE(ws.Modified);
    EXPECT_TRUE(root->Record()->Edited);
    EXPECT_EQ(window.texts[ActionId::Undo], "撤销 全部替换");

    // One undo, from any of the files, takes back the whole replace.
    ws.SelectNode(fn);
    EXPECT_TRUE(ws.Undo());
    EXPECT_FALSE(ws.CanUndo());
    EXPECT_EQ(root->Text(), "Dim total\r\ntotal = 1\r\n" + kShow);
    EXPECT_EQ(inc->Text(), Gbk("' 合计\r\nResponse.Write total"));
    EXPECT_EQ(window.memo.Text(), kShow);
    ws.SelectNode(inc);
    EXPECT_EQ(window.texts[ActionId::Redo], "重做 全部替换");
    EXPECT_TRUE(ws.Redo());
    EXPECT_EQ(root->Text(), "Dim grandTotal\r\ngrandTotal = 1\r\n" + std::string(fn->Text()));
    EXPECT_EQ(window.memo.Text(), inc->Text());
    EXPECT_TRUE(inc->Record()->Edited);
}

TEST_F(FindReplaceTest, ReplaceAllInTheNodeLeavesTheOthers)
{
    FindRequest r = Request("(\\w+) = (\\d)", FindScope::Node);
    r.options.regex = true;
    r.replacement = "$2 = $1";
    EXPECT_EQ(ReplaceAllMatches(ws, r).message, "已替换 1 处");
    EXPECT_EQ(root->Text(), "Dim total\r\n1 = total\r\n" + kShow);
    r.pattern = "total";
    r.options = {true, true, false};
    r.replacement = "";
    EXPECT_EQ(ReplaceAllMatches(ws, r).replaced, 2u);
    EXPECT_EQ(root->Text(), "Dim \r\n1 = \r\n" + kShow);
    EXPECT_EQ(inc->Text(), Gbk("' 合计\r\nResponse.Write total"));
    EXPECT_TRUE(ws.Undo());
    EXPECT_EQ(root->Text(), "Dim total\r\n1 = total\r\n" + kShow);
    // The caret ends after the last replacement, where the longer ones
    // before it have moved it.
    r.pattern = "tal";
    r.options.wholeWord = false;
    r.replacement = "taal";
    EXPECT_EQ(ReplaceAllMatches(ws, r).replaced, 2u);
    EXPECT_EQ(root->Text(), "Dim totaal\r\n1 = totaal\r\n" + kShow);
    EXPECT_EQ(window.memo.SelectionStart(), 22u);
}

TEST_F(FindReplaceTest, AReplacementOutsideTheEncodingChangesNothing)
{
    FindRequest r = Request("total");
    r.replacement = "😀";
    const FindOutcome o = ReplaceAllMatches(ws, r);
    EXPECT_EQ(o.replaced, 0u);
    EXPECT_NE(o.message.find("GBK"), std::string::npos);
    EXPECT_EQ(root->Text(), "Dim total\r\ntotal = 1\r\n" + kShow);
    EXPECT_FALSE(ws.CanUndo());
}

TEST_F(FindReplaceTest, ARepeatedInclusionIsReplacedOnceThroughItsFirstNode)
{
    TreeNode *again = tree.AddChild(fn->Parent(), "inc.asp");
    tree.ShareRecord(again, inc);
    FindRequest r = Request("total");
    r.replacement = "sum";
    EXPECT_EQ(ReplaceAllMatches(ws, r).message, "已替换 4 处（2 个节点）");
    EXPECT_EQ(again->Text(), Gbk("' 合计\r\nResponse.Write sum"));

    ws.SelectNode(again);
    r.pattern = "sum";
    r.replacement = "total";
    r.scope = FindScope::Node;
    EXPECT_EQ(ReplaceAllMatches(ws, r).replaced, 1u);
    EXPECT_EQ(inc->Text(), Gbk("' 合计\r\nResponse.Write total"));
    EXPECT_EQ(tree.Selected(), again);
    ws.SelectNode(inc);
    EXPECT_TRUE(ws.Undo());  // the step is in the history of the node that holds the file
    EXPECT_EQ(again->Text(), Gbk("' 合计\r\nResponse.Write sum"));
}

TEST_F(FindReplaceTest, AProcedureKeepsItsBlockThroughAReplaceInItsDocument)
{
    FindRequest r = Request("total", FindScope::Node);
    r.replacement = "grandTotal";
    EXPECT_EQ(ReplaceAllMatches(ws, r).replaced, 3u);
    EXPECT_EQ(fn->Text(), "Function Show()\r\n\tShow = grandTotal\r\nEnd Function");
    EXPECT_EQ(fn->Record()->Begin(), 32u);
    EXPECT_TRUE(ws.Undo());
    EXPECT_EQ(fn->Text(), kShow);
    EXPECT_EQ(fn->Record()->Begin(), 22u);
}
