#include "editor/keyword_store.h"
#include "fake_window.h"
#include "gbk_literal.h"
#include "project/command_dispatch.h"
#include "project/document_assembly.h"
#include "project/outside_changes.h"
#include "project/project_memory.h"
#include "project/workspace.h"
#include "recording_prompter.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

using namespace qasp;
using qasp::testing::FakeWindow;
using qasp::testing::ReadAll;
using qasp::testing::RecordingPrompter;
using qasp::testing::ScratchDir;
namespace fs = std::filesystem;

namespace {

class DispatchTest : public ::testing::Test {
protected:
    DispatchTest()
    {
        // Both files in the project layout: saving them needs no question.
        std::ofstream(dir / "index.asp", std::ios::binary)
            << "<%@codepage=936%>\r\n<%Option Explicit%>\r\n<!--#include file=\"inc.asp\"-->\r\n<%\r\n"
               "Dim total\r\nFunction Show(x)\r\n\tShow = x\r\nEnd Function\r\n\r\n%>\r\n";
        std::ofstream(dir / "inc.asp", std::ios::binary) << "<%\r\nDim conn\r\n%>\r\n";
    }

    void OpenDemo()
    {
        window.files.emplace_back((dir / "index.asp").string());
        dispatch.Action_Do(ActionId::OPEN);
        root = tree.FirstTopLevel();
        inc = root->Children()[0].get();
        fn = root->Children()[1].get();
    }

    ScratchDir scratch{"dispatch"};
    const fs::path dir = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    RecordingPrompter prompter;
    CommandDispatcher dispatch{ws, prompter, window};
    TreeNode *root = nullptr, *inc = nullptr, *fn = nullptr;
};

}  // namespace

TEST_F(DispatchTest, OpenLoadsTheProjectAndSetsTheSwitch)
{
    window.checked[ActionId::VarNeed] = false;
    OpenDemo();
    EXPECT_EQ(ws.ProjectDir, dir.string());
    EXPECT_EQ(tree.Count(), 3);
    EXPECT_TRUE(window.checked[ActionId::VarNeed]);
    // The page is shown at once.
    EXPECT_EQ(tree.Selected(), root);
    EXPECT_EQ(window.memo.Text(), root->Text());
    EXPECT_FALSE(window.memo.readOnly);
    EXPECT_FALSE(ws.Modified);
    std::string name = "SHOW";
    EXPECT_EQ(store.LookupKeyword(name), 6);
}

TEST_F(DispatchTest, CutAndPasteMoveANodeIntoAnotherDocumentOnly)
{
    OpenDemo();
    ws.SelectNode(fn);
    dispatch.Action_Do(ActionId::Cut);
    EXPECT_EQ(ws.CutNode, fn);
    EXPECT_FALSE(window.enabled[ActionId::Paste]);
    ws.SelectNode(inc);
    EXPECT_TRUE(window.enabled[ActionId::Paste]);
    dispatch.Action_Do(ActionId::Paste);
    EXPECT_EQ(fn->Parent(), inc);
    EXPECT_EQ(ws.CutNode, fn);  // the mark stays for another move
    EXPECT_TRUE(ws.Modified);

    ws.SelectNode(inc);
    dispatch.Action_Do(ActionId::Cut);  // cut a document, then paste into its own child: refused
    tree.Move(fn, root);
    TreeNode *child = tree.AddChild(inc, "deep.asp");
    ws.SelectNode(child);
    EXPECT_FALSE(window.enabled[ActionId::Paste]);
    dispatch.Action_Do(ActionId::Paste);
    EXPECT_EQ(inc->Parent(), root);
}

TEST_F(DispatchTest, APasteAfterTheCutNodeWasDeletedDoesNothing)
{
    OpenDemo();
    ws.SelectNode(fn);
    dispatch.Action_Do(ActionId::Cut);
    prompter.answers = {Answer::Yes};
    dispatch.Action_Do(ActionId::Del);
    EXPECT_EQ(ws.CutNode, nullptr);
    ws.SelectNode(inc);
    dispatch.Action_Do(ActionId::Paste);
    EXPECT_EQ(tree.Count(), 2);
}

TEST_F(DispatchTest, DeleteAsksFirstEvenWithNothingSelected)
{
    OpenDemo();
    prompter.answers = {Answer::No};
    ws.SelectNode(inc);
    dispatch.Action_Do(ActionId::Del);
    EXPECT_EQ(tree.Count(), 3);
    EXPECT_EQ(prompter.shown.back(), "删除提示|你确定要删除这个结点吗?");
}

TEST_F(DispatchTest, NewAsksDocumentOrFunction)
{
    OpenDemo();
    ws.SelectNode(root);
    prompter.answers = {Answer::No};
    prompter.inputs = {"Added(p)"};
    dispatch.Action_Do(ActionId::New);
    EXPECT_EQ(prompter.shown[0], "操作提示|你想添加一个新的ASP文档还是一个函数模块?\r  选[是]添加ASP文档\r"
                                 "  选[否]添加函数模块\r  按[取消]退出操作");
    EXPECT_EQ(tree.Selected()->DisplayText(), "Added(p)");
    prompter.answers = {Answer::Cancel};
    dispatch.Action_Do(ActionId::New);
    EXPECT_EQ(tree.Count(), 4);
}

TEST_F(DispatchTest, SearchAndReplaceOpenTheFindDialogWithoutAsking)
{
    OpenDemo();
    ws.SelectNode(fn);
    window.memo.SetSelection(9, 4);
    dispatch.Action_Do(ActionId::Search);
    dispatch.Action_Do(ActionId::Replace);
    EXPECT_EQ(window.findShown, (std::vector<bool>{false, true}));
    EXPECT_TRUE(prompter.shown.empty());
    // Opening the dialog moves nothing: only its buttons search.
    EXPECT_EQ(window.memo.SelectionStart(), 9u);
    EXPECT_EQ(window.memo.SelectionLength(), 4u);
}

// Save writes the files whose bytes changed and leaves the others alone.
TEST_F(DispatchTest, SaveWritesTheChangedFileAndClearsTheModifiedMark)
{
    OpenDemo();
    const std::string index = ReadAll(dir / "index.asp");
    ws.SelectNode(inc);
    window.memo.SetSelection(window.memo.Text().find("%>"), 0);
    window.memo.ReplaceSelection("Dim extra\r\n");
    ws.CMemoChange();
    EXPECT_TRUE(ws.Modified);
    dispatch.Action_Do(ActionId::Save);
    EXPECT_FALSE(ws.Modified);
    EXPECT_EQ(ReadAll(dir / "inc.asp"), "<%\r\nDim conn\r\nDim extra\r\n%>\r\n");
    EXPECT_EQ(ReadAll(dir / "index.asp"), index);
}

// The user edited a file that another program changed meanwhile.
TEST_F(DispatchTest, AFileChangedOnDiskIsLoadedAgainOrOverwrittenAsTheUserSays)
{
    OpenDemo();
    SetNodeText(*fn, "Function Show(y)\r\n\tShow = y\r\nEnd Function\r\n");
    SetNodeText(*inc, "<%\r\nDim mine\r\n%>\r\n");
    ws.Modified = true;
    const std::string theirs = "<%\r\nDim theirs\r\n%>\r\n";
    std::ofstream(dir / "inc.asp", std::ios::binary) << theirs;

    prompter.answers = {Answer::No};  // load it again instead
    dispatch.Action_Do(ActionId::Save);
    EXPECT_TRUE(ws.Modified);  // the edit elsewhere is kept, and nothing was written
    EXPECT_EQ(ReadAll(dir / "inc.asp"), theirs);
    const TreeNode *reloaded = nullptr;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (n->DisplayText() == "inc.asp")
            reloaded = n;
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->Text(), theirs);
    EXPECT_NE(ReadAll(dir / "index.asp").find("Show = x"), std::string::npos);

    std::ofstream(dir / "inc.asp", std::ios::binary) << theirs << "' again\r\n";
    SetNodeText(*const_cast<TreeNode *>(reloaded), "<%\r\nDim mine\r\n%>\r\n");
    prompter.answers = {Answer::Yes};  // overwrite it
    dispatch.Action_Do(ActionId::Save);
    EXPECT_FALSE(ws.Modified);
    EXPECT_EQ(ReadAll(dir / "inc.asp"), "<%\r\nDim mine\r\n%>\r\n");
    EXPECT_EQ(ReadAll(dir / "inc.asp.bak"), theirs + "' again\r\n");
    EXPECT_NE(ReadAll(dir / "index.asp").find("Show = y"), std::string::npos);
    EXPECT_EQ(prompter.shown.back(), "已保存。下列原文件保留为备份:\n" + (dir / "inc.asp").string() + " -> "
                                         + (dir / "inc.asp.bak").string());
}

TEST_F(DispatchTest, SaveSelectWritesTheSelectedDocumentOnly)
{
    OpenDemo();
    ws.SelectNode(fn);
    dispatch.Action_Do(ActionId::SaveSelect);
    EXPECT_EQ(prompter.shown.back(), "只能保存ASP文档!");
    SetNodeText(*fn, "Function Show(y)\r\nEnd Function\r\n");
    SetNodeText(*inc, "<%\r\nDim changed\r\n%>\r\n");
    ws.SelectNode(root);
    dispatch.Action_Do(ActionId::SaveSelect);
    EXPECT_NE(ReadAll(dir / "index.asp").find("Function Show(y)\r\nEnd Function\r\n"), std::string::npos);
    EXPECT_EQ(ReadAll(dir / "inc.asp"), "<%\r\nDim conn\r\n%>\r\n");
}

TEST_F(DispatchTest, SaveWithoutADirectoryAsksForOne)
{
    TreeNode *doc = tree.AddTopLevel("new.asp");
    tree.AttachRecord(doc, {"Dim n"});
    window.directories.emplace_back(std::nullopt);  // cancelled: nothing written
    dispatch.Action_Do(ActionId::Save);
    EXPECT_TRUE(ws.ProjectDir.empty());
    window.directories.emplace_back(dir.string());
    dispatch.Action_Do(ActionId::Save);
    EXPECT_EQ(ws.ProjectDir, dir.string());
    // A document made in the editor is written as it stands.
    EXPECT_EQ(ReadAll(dir / "new.asp"), "Dim n");
}

TEST_F(DispatchTest, SaveAsWritesElsewhereAndKeepsTheProjectDirectory)
{
    OpenDemo();
    fs::create_directories(dir / "copy");
    window.directories.emplace_back((dir / "copy").string() + "/");
    dispatch.Action_Do(ActionId::SaveAS);
    EXPECT_TRUE(fs::exists(dir / "copy" / "index.asp"));
    EXPECT_TRUE(fs::exists(dir / "copy" / "inc.asp"));
    EXPECT_EQ(ws.ProjectDir, dir.string());
}

TEST_F(DispatchTest, ExportWritesOneDocument)
{
    OpenDemo();
    window.files.emplace_back((dir / "all.asp").string());
    dispatch.Action_Do(ActionId::SaveSingle);
    EXPECT_EQ(ReadAll(dir / "all.asp"),
              "<%Option Explicit\r\n\r\nDim total\r\nDim conn\r\n\r\nFunction Show(x)\r\n\tShow = x\r\n"
              "End Function\r\n%>\r\n");
}

TEST_F(DispatchTest, ANewUtf8PageDeclaresItsCodePageAndLayoutSavesFollowTheOption)
{
    ws.NewPageEncoding = TextEncoding::Utf8;
    window.checked[ActionId::VarNeed] = true;
    window.files.emplace_back((dir / "fresh.asp").string());
    dispatch.Action_Do(ActionId::NewDOC);
    EXPECT_EQ(ReadAll(dir / "fresh.asp"), "<%@codepage=65001%>\r\n<%Option Explicit%>\r\n<%\r\n\r\n%>\r\n");
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.FirstTopLevel()->Encoding(), TextEncoding::Utf8);

    // 保存 as the layout: the page with its HTML is written in the layout.
    std::ofstream(dir / "page.asp", std::ios::binary) << "<p>hi</p>\r\n<%\r\nDim a\r\n%>\r\n";
    dispatch.OpenProjectFile((dir / "page.asp").string());
    ws.SaveWritesLayout = true;
    ws.Modified = true;
    prompter.answers = {Answer::Yes, Answer::Yes};  // the layout does not keep this file: write it anyway
    dispatch.Action_Do(ActionId::Save);
    EXPECT_NE(ReadAll(dir / "page.asp"), "<p>hi</p>\r\n<%\r\nDim a\r\n%>\r\n");
}

TEST_F(DispatchTest, NewProjectWritesItsFileAndLoadsIt)
{
    window.files.emplace_back((dir / "fresh.asp").string());
    dispatch.Action_Do(ActionId::NewDOC);
    EXPECT_EQ(ReadAll(dir / "fresh.asp"), "<%@codepage=936%>\r\n<%Option Explicit%>\r\n<%\r\n\r\n%>\r\n");
    EXPECT_FALSE(window.checked[ActionId::VarNeed]);  // the load's answer is ignored
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.FirstTopLevel()->DisplayText(), "fresh.asp");
}

TEST_F(DispatchTest, UnsavedChangesAreNotDroppedWithoutAQuestion)
{
    OpenDemo();
    ws.SelectNode(inc);
    window.memo.SetSelection(0, 0);
    window.memo.ReplaceSelection("<% Dim first %>\r\n");
    ws.CMemoChange();
    EXPECT_TRUE(ws.Modified);
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(dispatch.MayDiscardChanges());
    prompter.answers = {Answer::Cancel};
    window.files.emplace_back((dir / "index.asp").string());
    dispatch.Action_Do(ActionId::OPEN);  // stays: the project is still the edited one
    EXPECT_EQ(inc->Text().rfind("<% Dim first %>", 0), 0u);
    EXPECT_EQ(inc->Parent(), tree.FirstTopLevel());
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(dispatch.MayDiscardChanges());
    EXPECT_EQ(ReadAll(dir / "inc.asp").rfind("<% Dim first %>", 0), 0u);
    EXPECT_FALSE(ws.Modified);
}

TEST_F(DispatchTest, ColourPickingFollowsTheCheckMarkAndTheSwatchInserts)
{
    window.checked[ActionId::GetColor] = true;
    dispatch.Action_Do(ActionId::GetColor);
    EXPECT_TRUE(window.picking);
    window.checked[ActionId::GetColor] = false;
    dispatch.Action_Do(ActionId::GetColor);
    EXPECT_FALSE(window.picking);
    dispatch.Panel2DoubleClick();  // no node shown: nothing to write into
    EXPECT_EQ(window.memo.Text(), "");
    OpenDemo();
    dispatch.Panel2DoubleClick();
    ws.CMemoChange();
    EXPECT_NE(window.memo.Text().find("取色"), std::string::npos);
    EXPECT_EQ(root->Text(), window.memo.Text());
    dispatch.Action_Do(ActionId::Help);
    dispatch.Action_Do(ActionId::Exit);
    EXPECT_TRUE(window.helpShown && window.closed);
}

TEST_F(DispatchTest, ADocumentIsReopenedInTheEncodingTheUserChooses)
{
    std::ofstream(dir / "inc.asp", std::ios::binary) << "<%\r\nConst T = \"\xE4\xB8\xAD\"\r\n%>\r\n";
    OpenDemo();
    inc = root->Children()[0].get();
    EXPECT_EQ(inc->Encoding(), TextEncoding::Utf8);  // valid UTF-8 with Chinese
    ws.SelectNode(inc);
    dispatch.Action_Do(ActionId::ReopenGbk);
    const TreeNode *again = root->Children()[0].get();
    EXPECT_EQ(again->DisplayText(), "inc.asp");
    EXPECT_EQ(again->Encoding(), TextEncoding::Gbk);
    // The choice holds when the project is read again; opening it anew forgets it.
    ReloadDocument(ws, tree.FirstTopLevel());
    EXPECT_EQ(tree.FirstTopLevel()->Children()[0]->Encoding(), TextEncoding::Gbk);
    dispatch.OpenProjectFile((dir / "index.asp").string());
    EXPECT_EQ(tree.FirstTopLevel()->Children()[0]->Encoding(), TextEncoding::Utf8);
}

namespace {

// Remembers in memory what the window keeps in its settings.
struct MemoryOfProjects : ProjectMemory {
    std::map<fs::path, ProjectChoices> kept;
    std::vector<fs::path> recent;

    std::optional<ProjectChoices> Recall(const fs::path &rootFile) const override
    {
        const auto it = kept.find(rootFile);
        return it == kept.end() ? std::nullopt : std::optional(it->second);
    }
    void Remember(const fs::path &rootFile, const ProjectChoices &choices) override
    {
        kept[rootFile] = choices;
        recent = WithRecentFile(recent, rootFile, 3);
    }
    std::vector<fs::path> RecentFiles() const override { return recent; }
    void Forget(const fs::path &rootFile) override { std::erase(recent, rootFile); }
};

}  // namespace

TEST_F(DispatchTest, AProjectOpenedAgainIsReadWithTheChoicesMadeLastTime)
{
    MemoryOfProjects memory;
    dispatch.SetProjectMemory(&memory);
    std::ofstream(dir / "inc.asp", std::ios::binary) << "<%\r\nConst T = \"\xE4\xB8\xAD\"\r\n%>\r\n";
    fs::create_directories(dir / "other");
    std::ofstream(dir / "other" / "page.asp", std::ios::binary) << "<%\r\nDim x\r\n%>\r\n";
    OpenDemo();
    ws.SelectNode(root->Children()[0].get());
    dispatch.Action_Do(ActionId::ReopenGbk);
    window.directories.emplace_back(dir.parent_path().string());
    prompter.answers.push_back(Answer::No);  // unsaved changes: none wanted
    dispatch.Action_Do(ActionId::SiteRoot);
    ASSERT_EQ(ws.SiteRoot, dir.parent_path());

    dispatch.OpenProjectFile((dir / "other" / "page.asp").string());
    EXPECT_TRUE(ws.FileEncodings.empty());  // another project's choices do not follow
    EXPECT_EQ(memory.RecentFiles(), (std::vector{dir / "other" / "page.asp", dir / "index.asp"}));

    dispatch.OpenProjectFile((dir / "index.asp").string());
    EXPECT_EQ(tree.FirstTopLevel()->Children()[0]->Encoding(), TextEncoding::Gbk);
    EXPECT_EQ(ws.SiteRoot, dir.parent_path());

    // A remembered root that no longer holds the page is found again.
    memory.kept[dir / "index.asp"].siteRoot = dir / "other";
    const size_t shown = prompter.shown.size();
    dispatch.OpenProjectFile((dir / "index.asp").string());
    EXPECT_EQ(tree.Count(), 3);
    // Found as for a page never seen: the scratch folder, or one above it
    // while other tests leave pages in the temporary folder.
    EXPECT_NE(ws.SiteRoot, dir / "other");
    const std::string below = (dir / "index.asp").lexically_relative(ws.SiteRoot).string();
    EXPECT_FALSE(below.empty() || below.starts_with("..")) << ws.SiteRoot;
    EXPECT_EQ(prompter.shown.size(), shown);
}

TEST(RecentFiles, TheLastOpenedComesFirstOnceAndTheListIsCapped)
{
    std::vector<fs::path> list;
    for (const char *f : {"a", "b", "c", "b", "d"})
        list = WithRecentFile(list, f, 3);
    EXPECT_EQ(list, (std::vector<fs::path>{"d", "b", "c"}));
}
