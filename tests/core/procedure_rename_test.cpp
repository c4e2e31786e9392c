#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "fake_window.h"
#include "project/procedure_rename.h"
#include "project/workspace.h"

#include <gtest/gtest.h>

using namespace qasp;
using qasp::testing::FakeWindow;

namespace {

class RenameTest : public ::testing::Test {
protected:
    RenameTest()
    {
        root = tree.AddTopLevel("index.asp");
        tree.AttachRecord(root, {"Dim g", ""});
        show =
            AddProcedure("Show(a, b)", "Public Function  Show(a, b) ' shows\r\n\tShow = a\r\nEnd Function");
        other = AddProcedure("Other", "Sub Other\r\nEnd Sub");
        store.RefreshKeywords();
    }

    TreeNode *AddProcedure(const std::string &label, const std::string &text)
    {
        TreeNode *n = tree.AddChild(root, label);
        tree.SetKind(n, NodeKind::Procedure);
        tree.AttachRecord(n, {text, ""});
        return n;
    }

    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    TreeNode *root, *show, *other;
};

}  // namespace

TEST_F(RenameTest, TheHeadLineTheStoreAndTheLabelFollowAndUndoTakesItBack)
{
    EXPECT_EQ(RenameProcedure(ws, show, "Display(a, b)"), std::nullopt);
    EXPECT_EQ(show->Text(), "Public Function  Display(a, b) ' shows\r\n\tShow = a\r\nEnd Function");
    EXPECT_EQ(show->DisplayText(), "Display(a, b)");
    store.RefreshKeywords();
    std::string renamed = "display", old = "show";
    EXPECT_EQ(store.LookupKeyword(renamed), kProjectFunction);
    EXPECT_NE(store.LookupKeyword(old), kProjectFunction);
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(show->Text(), "Public Function  Show(a, b) ' shows\r\n\tShow = a\r\nEnd Function");
    EXPECT_EQ(show->DisplayText(), "Show(a, b)");
}

TEST_F(RenameTest, ABadNameOrAnotherProceduresNameIsRefusedAndChangesNothing)
{
    for (const char *bad : {"2nd", "My Name", "", "名字"})
        EXPECT_NE(RenameProcedure(ws, show, bad), std::nullopt) << bad;
    EXPECT_NE(RenameProcedure(ws, show, "OTHER"), std::nullopt);
    EXPECT_EQ(show->Text(), "Public Function  Show(a, b) ' shows\r\n\tShow = a\r\nEnd Function");
    EXPECT_EQ(show->DisplayText(), "Show(a, b)");
    // Only the label of a document changes: its file keeps its name.
    EXPECT_EQ(RenameProcedure(ws, root, "home.asp"), std::nullopt);
    EXPECT_EQ(root->DisplayText(), "home.asp");
}
