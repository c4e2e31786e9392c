// Files changed by another program while their project is open.
#include "editor/keyword_store.h"
#include "fake_window.h"
#include "project/asp_writer.h"
#include "project/outside_changes.h"
#include "project/project_commands.h"
#include "project/workspace.h"
#include "recording_prompter.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

using namespace qasp;
using qasp::testing::FakeWindow;
using qasp::testing::ReadAll;
using qasp::testing::RecordingPrompter;
using qasp::testing::ScratchDir;
using qasp::testing::WriteAll;

namespace {

class OutsideChangesTest : public ::testing::Test {
protected:
    OutsideChangesTest()
    {
        WriteAll(dir / "index.asp", "<!--#include file=\"inc.asp\"-->\r\n<%\r\nDim a\r\n%>\r\n");
        WriteAll(dir / "inc.asp", "<%\r\nDim b\r\n%>\r\n");
        OpenProject(ws, (dir / "index.asp").string());
        root = tree.FirstTopLevel();
        inc = root->FirstChild();
    }

    ScratchDir dir{"outside_changes"};
    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    RecordingPrompter prompter;
    OutsideChangeMemory told;
    TreeNode *root = nullptr;
    TreeNode *inc = nullptr;
};

}  // namespace

TEST_F(OutsideChangesTest, AnUnchangedProjectAsksNothing)
{
    EXPECT_TRUE(DocumentsChangedOnDisk(tree).empty());
    EXPECT_FALSE(DocumentEdited(*root));
    OfferReloads(ws, prompter, told);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(OutsideChangesTest, AChangedFileIsReloadedWhenTheUserSaysSo)
{
    WriteAll(dir / "inc.asp", "<%\r\nDim changed\r\n%>\r\n");
    ASSERT_EQ(DocumentsChangedOnDisk(tree), std::vector<TreeNode *>{inc});
    prompter.answers = {Answer::Yes};
    OfferReloads(ws, prompter, told);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("inc.asp"), std::string::npos);
    inc = root->FirstChild();
    EXPECT_EQ(inc->DisplayText(), "inc.asp");
    EXPECT_EQ(inc->Text(), "<%\r\nDim changed\r\n%>\r\n");
    EXPECT_TRUE(DocumentsChangedOnDisk(tree).empty());
    std::string name = "changed";
    EXPECT_NE(store.LookupKeyword(name), -1);
}

TEST_F(OutsideChangesTest, EditsAreKeptUnlessTheUserChoosesToReload)
{
    ws.SelectNode(inc);
    window.memo.SetSelection(0, inc->Text().size());
    window.memo.ReplaceSelection("Dim mine");
    ws.CMemoChange();
    EXPECT_TRUE(DocumentEdited(*inc));
    EXPECT_TRUE(DocumentEdited(*root));
    WriteAll(dir / "inc.asp", "<%\r\nDim theirs\r\n%>\r\n");

    prompter.answers = {Answer::No};
    OfferReloads(ws, prompter, told);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("你在这里也修改了它"), std::string::npos);
    EXPECT_EQ(inc->Text(), "Dim mine");
    // Asked once per change of the file, not on every look.
    OfferReloads(ws, prompter, told);
    EXPECT_EQ(prompter.shown.size(), 1u);
    WriteAll(dir / "inc.asp", "<%\r\nDim theirs2\r\n%>\r\n");
    prompter.answers = {Answer::Yes};
    OfferReloads(ws, prompter, told);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(root->FirstChild()->Text(), "<%\r\nDim theirs2\r\n%>\r\n");
    EXPECT_EQ(tree.Selected(), root->FirstChild());
    EXPECT_EQ(window.memo.Text(), "<%\r\nDim theirs2\r\n%>\r\n");
}

TEST_F(OutsideChangesTest, TheRootReloadsTheWholeProject)
{
    WriteAll(dir / "index.asp", "<%\r\nDim onlyRoot\r\n%>\r\n");
    prompter.answers = {Answer::Yes};
    OfferReloads(ws, prompter, told);
    ASSERT_EQ(tree.TopLevel().size(), 1u);
    EXPECT_EQ(tree.FirstTopLevel()->Text(), "<%\r\nDim onlyRoot\r\n%>\r\n");
    EXPECT_TRUE(tree.FirstTopLevel()->Children().empty());
}

TEST_F(OutsideChangesTest, ADeletedFileIsReportedAndItsTextKept)
{
    std::filesystem::remove(dir / "inc.asp");
    OfferReloads(ws, prompter, told);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("删除或移走"), std::string::npos);
    EXPECT_EQ(inc->Text(), "<%\r\nDim b\r\n%>\r\n");
}

TEST_F(OutsideChangesTest, AReloadThatFailsLeavesTheProjectAsItWas)
{
    // A file the reload cannot read (a binary file now) leaves the project as it was.
    WriteAll(dir / "inc.asp", std::string("<%\r\nDim c\0\r\n%>\r\n", 16));
    prompter.answers = {Answer::Yes};
    EXPECT_ANY_THROW(OfferReloads(ws, prompter, told));
    ASSERT_EQ(root->Children().size(), 1u);
    EXPECT_EQ(root->FirstChild(), inc);
    EXPECT_EQ(inc->Text(), "<%\r\nDim b\r\n%>\r\n");
    EXPECT_EQ(ReadAll(dir / "index.asp"), "<!--#include file=\"inc.asp\"-->\r\n<%\r\nDim a\r\n%>\r\n");
}

TEST_F(OutsideChangesTest, TheProjectsOwnSaveIsNoOutsideChange)
{
    ws.SelectNode(inc);
    window.memo.SetSelection(0, inc->Text().size());
    window.memo.ReplaceSelection("Dim saved");
    ws.CMemoChange();
    ASSERT_EQ(SaveAspDocument(root, dir.Path(), false, prompter).outcome, SaveOutcome::Saved);
    EXPECT_EQ(ReadAll(dir / "inc.asp"), "<%\r\nDim saved\r\n%>\r\n");
    EXPECT_TRUE(DocumentsChangedOnDisk(tree).empty());
    OfferReloads(ws, prompter, told);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(OutsideChangesTest, AReloadedRootShowsTheNodeThatWasShown)
{
    ws.SelectNode(inc);
    WriteAll(dir / "index.asp", "<!--#include file=\"inc.asp\"-->\r\n<%\r\nDim again\r\n%>\r\n");
    prompter.answers = {Answer::Yes};
    OfferReloads(ws, prompter, told);
    ASSERT_TRUE(tree.Selected());
    EXPECT_EQ(tree.Selected(), tree.FirstTopLevel()->FirstChild());
    EXPECT_EQ(window.memo.Text(), "<%\r\nDim b\r\n%>\r\n");
    EXPECT_FALSE(window.memo.readOnly);
}

TEST_F(OutsideChangesTest, OnlyAQuestionThatWouldDropEditsDefaultsToNo)
{
    class ButtonsSeen : public RecordingPrompter {
    public:
        std::vector<QuestionButtons> buttons;
        Answer Question(std::string_view title, std::string_view text, QuestionButtons b) override
        {
            buttons.push_back(b);
            return RecordingPrompter::Question(title, text, b);
        }
    } seen;
    WriteAll(dir / "inc.asp", "<%\r\nDim theirs\r\n%>\r\n");
    OfferReloads(ws, seen, told);
    ws.SelectNode(root);
    window.memo.SetSelection(0, 0);
    window.memo.ReplaceSelection("x");
    ws.CMemoChange();
    WriteAll(dir / "index.asp", "<%\r\nDim changed\r\n%>\r\n");
    OfferReloads(ws, seen, told);
    EXPECT_EQ(seen.buttons,
              (std::vector<QuestionButtons>{QuestionButtons::YesNo, QuestionButtons::YesNoNoDefault}));
}
