#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/document_assembly.h"
#include "project/layout_page_text.h"
#include "recording_prompter.h"
#include "scratch_dir.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

using namespace qasp;
using qasp::testing::AddDocument;
using qasp::testing::MakeSite;
using qasp::testing::ReadAll;
using qasp::testing::RecordingPrompter;
using qasp::testing::ScratchDir;
using qasp::testing::WriteAll;
namespace fs = std::filesystem;

namespace {

class WriterTest : public ::testing::Test {
protected:
    TreeNode *Doc(TreeNode *parent, const std::string &name, const std::string &text)
    {
        TreeNode *n = parent ? tree.AddChild(parent, name) : tree.AddTopLevel(name);
        tree.AttachRecord(n, {text});
        return n;
    }
    TreeNode *Fn(TreeNode *parent, const std::string &name, const std::string &text)
    {
        TreeNode *n = tree.AddChild(parent, name);
        tree.SetKind(n, NodeKind::Procedure);
        tree.AttachRecord(n, {text});
        return n;
    }
    std::string Dir() const { return dir.string(); }
    static bool Saved(const SaveResult &result) { return result.outcome == SaveOutcome::Saved; }

    ScratchDir scratch{"writer"};
    const fs::path dir = scratch.Path();
    ProjectTree tree;
    RecordingPrompter prompter;
};

}  // namespace

TEST_F(WriterTest, ProjectLayoutByteForByte)
{
    TreeNode *root = Doc(nullptr, "index.asp", "Dim a");
    Doc(root, "conn.asp", "");
    Fn(root, "F()", "Function F()\r\nEnd Function");
    EXPECT_EQ(AspDocumentBytes(*root, true),
              "<%@codepage=936%>\r\n<%Option Explicit%>\r\n<!--#include file=\"conn.asp\"-->\r\n"
              "<%\r\nDim a\r\nFunction F()\r\nEnd Function\r\n\r\n%>\r\n");
    ASSERT_TRUE(Saved(SaveAspDocument(root, Dir(), false, prompter)));
    EXPECT_EQ(
        ReadAll(dir / "index.asp"),
        "<!--#include file=\"conn.asp\"-->\r\n<%\r\nDim a\r\nFunction F()\r\nEnd Function\r\n\r\n%>\r\n");
    EXPECT_EQ(ReadAll(dir / "conn.asp"), "<%\r\n\r\n%>\r\n");
}

TEST_F(WriterTest, ADocumentWithoutRecordIsThreeLines)
{
    TreeNode *bare = tree.AddTopLevel("new.asp");
    EXPECT_EQ(AspDocumentBytes(*bare, false), "<%\r\n\r\n%>\r\n");
}

TEST_F(WriterTest, SingleDocumentPutsPageTextsBeforeFunctions)
{
    TreeNode *root = Doc(nullptr, "index.asp", "Dim a");
    Fn(root, "F()", "Function F()\r\nEnd Function");
    TreeNode *inc = Doc(root, "inc.asp", "Dim b");
    Fn(inc, "G()", "Function G()\r\nEnd Function");
    EXPECT_EQ(SingleDocumentBytes(tree, true),
              "<%Option Explicit\r\n\r\nDim a\r\nDim b\r\n\r\nFunction F()\r\nEnd Function\r\n"
              "Function G()\r\nEnd Function\r\n%>\r\n");
    ProjectTree one;
    one.AttachRecord(one.AddTopLevel("a.asp"), {""});
    EXPECT_EQ(SingleDocumentBytes(one, false), "<%\r\n\r\n\r\n\r\n%>\r\n");
}

TEST_F(WriterTest, EmptyInputsGiveTheirMessages)
{
    EXPECT_EQ(SaveAspDocument(nullptr, Dir(), true, prompter).outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(SaveSingleDocument(tree, (dir / "x.asp").string(), true, prompter).outcome,
              SaveOutcome::Cancelled);
    EXPECT_EQ(prompter.shown, (std::vector<std::string>{"文档为空,无法保存!", "工程文档为空,无法保存!"}));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(WriterTest, TwoSameNamedDocumentsRefuseTheSave)
{
    TreeNode *root = Doc(nullptr, "index.asp", "");
    Doc(Doc(root, "a.asp", ""), "x.asp", "' first");
    Doc(Doc(root, "b.asp", ""), "x.asp", "' second");
    try {
        SaveAspDocument(root, Dir(), false, prompter);
        FAIL() << "saved";
    } catch (const WriteError &e) {
        EXPECT_NE(std::string(e.what()).find("文档 x.asp 与文档 x.asp 会写入同一个文件 "
                                             + (dir / "x.asp").string()),
                  std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(WriterTest, NamesReachingOutsideTheProjectFailTheWholeSave)
{
    fs::create_directories(dir / "site");
    TreeNode *root = Doc(nullptr, "index.asp", "");
    Doc(root, "../escape.asp", "");
    Doc(root, "inc/conn.asp", "");
    try {
        SaveAspDocument(root, (dir / "site").string(), false, prompter);
        FAIL() << "saved";
    } catch (const WriteError &e) {
        EXPECT_NE(std::string(e.what()).find("../escape.asp"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_empty(dir / "site"));
    EXPECT_FALSE(fs::exists(dir / "escape.asp"));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(WriterTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    std::ofstream(dir / "index.asp", std::ios::binary) << "old";
    fs::permissions(dir / "index.asp", fs::perms::owner_read);
    TreeNode *root = Doc(nullptr, "index.asp", "Dim new");
    EXPECT_THROW(SaveAspDocument(root, Dir(), false, prompter), WriteError);
    fs::permissions(dir / "index.asp", fs::perms::owner_all);
    EXPECT_EQ(ReadAll(dir / "index.asp"), "old");

    // A target that cannot be replaced (a directory in its place).
    fs::create_directories(dir / "blocked.asp" / "inside");
    TreeNode *blocked = Doc(nullptr, "blocked.asp", "");
    EXPECT_THROW(SaveAspDocument(blocked, Dir(), false, prompter), WriteError);
    EXPECT_TRUE(fs::is_directory(dir / "blocked.asp" / "inside"));
    for (const auto &entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(WriterTest, AFailureInOneDocumentChangesNoFileOfTheSave)
{
    std::ofstream(dir / "index.asp", std::ios::binary) << "old index";
    std::ofstream(dir / "ro.asp", std::ios::binary) << "old ro";
    fs::permissions(dir / "ro.asp", fs::perms::owner_read);
    TreeNode *root = Doc(nullptr, "index.asp", "Dim a");
    Doc(root, "fine.asp", "Dim b");
    Doc(root, "ro.asp", "Dim c");
    EXPECT_THROW(SaveAspDocument(root, Dir(), false, prompter), WriteError);
    fs::permissions(dir / "ro.asp", fs::perms::owner_all);
    EXPECT_EQ(ReadAll(dir / "index.asp"), "old index");
    EXPECT_EQ(ReadAll(dir / "ro.asp"), "old ro");
    EXPECT_FALSE(fs::exists(dir / "fine.asp"));
    for (const auto &entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

class MarkedDocumentTest : public WriterTest {
protected:
    void SetUp() override
    {
        std::ofstream(dir / "page.asp", std::ios::binary) << original;
        LoadContext context;
        context.siteRoot = Dir();
        LoadAspDocument(tree, nullptr, (dir / "page.asp").string(), store, context);
    }
    const std::string original = "<html><body>\r\n<%\r\nDim x\r\n%>\r\n<p>footer</p>\r\n";
    KeywordStore store{":memory:"};
};

TEST_F(MarkedDocumentTest, AnHtmlPageIsMarkedAndNotOverwrittenWithoutConsent)
{
    ASSERT_TRUE(tree.FirstTopLevel()->Record()->LayoutLoses);
    prompter.answers = {Answer::No};
    EXPECT_EQ(SaveAspDocument(tree.FirstTopLevel(), Dir(), false, prompter).outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(ReadAll(dir / "page.asp"), original);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("page.asp"), std::string::npos);
    EXPECT_THROW(SaveAspDocument(tree.FirstTopLevel(), Dir(), false, prompter, OverwritePolicy::Refuse),
                 OverwriteRefused);
    EXPECT_THROW(
        SaveSingleDocument(tree, (dir / "page.asp").string(), false, prompter, OverwritePolicy::Refuse),
        OverwriteRefused);
    EXPECT_EQ(ReadAll(dir / "page.asp"), original);
}

TEST_F(MarkedDocumentTest, ConsentKeepsTheOldFileAsBak)
{
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(Saved(SaveAspDocument(tree.FirstTopLevel(), Dir(), false, prompter)));
    EXPECT_EQ(ReadAll(dir / "page.asp"), "<%\r\nDim x\r\n%>\r\n");
    EXPECT_EQ(ReadAll(dir / "page.asp.bak"), original);
    // Saving elsewhere overwrites nothing of the user's: no question.
    fs::create_directories(dir / "copy");
    prompter.shown.clear();
    EXPECT_TRUE(Saved(SaveAspDocument(tree.FirstTopLevel(), (dir / "copy").string(), false, prompter)));
    EXPECT_TRUE(prompter.shown.empty());
}

// Load, save, load gives the same tree, for projects written in the layout.
TEST_F(WriterTest, RoundTripOfGeneratedProjects)
{
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        ProjectTree source;
        std::vector<TreeNode *> docs;
        TreeNode *root = source.AddTopLevel("index.asp");
        source.AttachRecord(root, {"Dim r" + std::to_string(round)});
        docs.push_back(root);
        const int documents = 1 + random() % 6;
        for (int d = 1; d < documents; ++d) {
            TreeNode *parent = docs[random() % docs.size()];
            TreeNode *doc = source.AddChild(parent, "d" + std::to_string(d) + ".asp");
            source.AttachRecord(
                doc, {"Const C" + std::to_string(d) + " = \"\xD6\xD0\"\r\n  x = " + std::to_string(d)});
            docs.push_back(doc);
        }
        for (int f = 0; f < 8; ++f) {
            TreeNode *doc = docs[random() % docs.size()];
            const std::string name = "F" + std::to_string(f) + "(a)";
            TreeNode *fn = source.AddChild(doc, name);
            source.SetKind(fn, NodeKind::Procedure);
            source.AttachRecord(
                fn, {"Function " + name + "\r\n\r\n\tF" + std::to_string(f) + " = a\r\nEnd Function"});
        }
        const fs::path out = dir / std::to_string(round);
        fs::create_directories(out);
        ASSERT_TRUE(Saved(SaveAspDocument(root, out.string(), true, prompter)));

        ProjectTree loaded;
        KeywordStore store(":memory:");
        LoadContext context;
        context.siteRoot = out.string();
        EXPECT_TRUE(LoadAspDocument(loaded, nullptr, (out / "index.asp").string(), store, context));
        // Children come back in file order: compare each node's children as sets.
        std::function<void(const TreeNode *, const TreeNode *)> same = [&](const TreeNode *a,
                                                                           const TreeNode *b) {
            // A loaded document's text outside its functions, and a
            // function's lines with their last break: what the layout keeps
            // of them is what was saved.
            ASSERT_EQ(a->Text(), a->IsDocument() ? LayoutPageText(TextOutsideProcedures(*b))
                                                 : std::string(WithoutFinalLineBreak(b->Text())))
                << a->DisplayText();
            ASSERT_EQ(a->IsDocument(), b->IsDocument());
            ASSERT_EQ(a->Children().size(), b->Children().size()) << a->DisplayText();
            for (const auto &child : a->Children()) {
                const auto it = std::find_if(b->Children().begin(), b->Children().end(), [&](const auto &c) {
                    return c->DisplayText() == child->DisplayText();
                });
                ASSERT_NE(it, b->Children().end()) << child->DisplayText();
                same(child.get(), it->get());
            }
        };
        same(root, loaded.FirstTopLevel());
        for (const TreeNode *n = loaded.FirstTopLevel(); n; n = loaded.NextInPreOrder(n))
            EXPECT_FALSE(n->Record()->LayoutLoses) << n->DisplayText();
    }
}

namespace {

// A project of two documents read from their files; the included one is
// then changed on disk by another program.
class ChangedOnDisk : public ::testing::Test {
protected:
    ChangedOnDisk()
    {
        MakeSite(scratch.Path(), {{"index.asp", "old index"}, {"inc.asp", "old inc"}});
        root = AddDocument(tree, nullptr, "index.asp", "Dim a", scratch / "index.asp");
        inc = AddDocument(tree, root, "inc.asp", "Dim b", scratch / "inc.asp");
        WriteAll(scratch / "inc.asp", "changed by another program");
    }
    ScratchDir scratch{"changed"};
    ProjectTree tree;
    TreeNode *root, *inc;
    RecordingPrompter prompter;
};

struct ChangeCase {
    const char *name;
    OverwritePolicy policy;
    Answer answer;  // never asked when the policy is Force
    SaveOutcome outcome;
};

const ChangeCase kChangeCases[] = {
    {"YesOverwritesKeepingABackup", OverwritePolicy::Ask, Answer::Yes, SaveOutcome::Saved},
    {"NoAsksForAReload", OverwritePolicy::Ask, Answer::No, SaveOutcome::ReloadRequested},
    {"CancelWritesNothing", OverwritePolicy::Ask, Answer::Cancel, SaveOutcome::Cancelled},
    {"ForceOverwritesKeepingABackup", OverwritePolicy::Force, Answer::Cancel, SaveOutcome::Saved},
};

class ChangedOnDiskAnswers : public ChangedOnDisk, public ::testing::WithParamInterface<ChangeCase> {};

}  // namespace

TEST_P(ChangedOnDiskAnswers, NothingIsOverwrittenWithoutBeingAsked)
{
    const ChangeCase &c = GetParam();
    prompter.answers = {c.answer};
    const SaveResult result = SaveAspDocument(root, scratch.Path(), false, prompter, c.policy);
    EXPECT_EQ(result.outcome, c.outcome);
    if (c.policy == OverwritePolicy::Ask) {
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_NE(
            prompter.shown[0].find("被其他程序修改或删除:\n    " + (scratch / "inc.asp").string() + "\n"),
            std::string::npos)
            << prompter.shown[0];
        EXPECT_EQ(prompter.shown[0].find("index.asp"), std::string::npos) << "index.asp did not change";
    }
    if (c.outcome == SaveOutcome::Saved) {
        EXPECT_EQ(ReadAll(scratch / "inc.asp"), "<%\r\nDim b\r\n%>\r\n");
        EXPECT_EQ(ReadAll(scratch / "inc.asp.bak"), "changed by another program");
        ASSERT_EQ(result.backups.size(), 1u);  // index.asp had not changed: no backup
        EXPECT_EQ(result.backups[0].original, scratch / "inc.asp");
        EXPECT_EQ(result.backups[0].backup, scratch / "inc.asp.bak");
        return;
    }
    EXPECT_EQ(ReadAll(scratch / "index.asp"), "old index");
    EXPECT_EQ(ReadAll(scratch / "inc.asp"), "changed by another program");
    EXPECT_FALSE(fs::exists(scratch / "inc.asp.bak"));
    const std::vector<fs::path> reload = c.outcome == SaveOutcome::ReloadRequested
                                             ? std::vector<fs::path>{scratch / "inc.asp"}
                                             : std::vector<fs::path>{};
    EXPECT_EQ(result.reload, reload);
}

INSTANTIATE_TEST_SUITE_P(Answers, ChangedOnDiskAnswers, ::testing::ValuesIn(kChangeCases),
                         [](const auto &test) { return std::string(test.param.name); });

TEST_F(ChangedOnDisk, WithoutAUserTheSaveIsRefused)
{
    EXPECT_THROW(SaveAspDocument(root, scratch.Path(), false, prompter, OverwritePolicy::Refuse),
                 OverwriteRefused);
    EXPECT_THROW(SaveSingleDocument(tree, scratch / "inc.asp", false, prompter, OverwritePolicy::Refuse),
                 OverwriteRefused);
    EXPECT_EQ(ReadAll(scratch / "index.asp"), "old index");
    EXPECT_EQ(ReadAll(scratch / "inc.asp"), "changed by another program");
}

TEST_F(ChangedOnDisk, AFileGoneSinceLoadingIsAskedAboutToo)
{
    fs::remove(scratch / "inc.asp");
    prompter.answers = {Answer::No};
    const SaveResult result = SaveSingleDocument(tree, scratch / "inc.asp", false, prompter);
    EXPECT_EQ(result.outcome, SaveOutcome::ReloadRequested);
    EXPECT_EQ(result.reload, std::vector<fs::path>{scratch / "inc.asp"});
    EXPECT_FALSE(fs::exists(scratch / "inc.asp"));
}

// A save leaves the records knowing the files as written: the next save
// finds nothing changed on disk and nothing the layout would lose.
TEST_F(ChangedOnDisk, AfterASaveTheNextSaveHasNothingToAsk)
{
    root->Record()->LayoutLoses = true;
    ASSERT_EQ(SaveAspDocument(root, scratch.Path(), false, prompter, OverwritePolicy::Force).outcome,
              SaveOutcome::Saved);
    EXPECT_EQ(inc->Record()->Loaded, CurrentFingerprint(scratch / "inc.asp"));
    EXPECT_EQ(root->Record()->Loaded, CurrentFingerprint(scratch / "index.asp"));
    SetNodeText(*inc, "Dim c");
    ASSERT_EQ(SaveAspDocument(root, scratch.Path(), false, prompter).outcome, SaveOutcome::Saved);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(ReadAll(scratch / "inc.asp"), "<%\r\nDim c\r\n%>\r\n");
    EXPECT_FALSE(fs::exists(scratch / "inc.asp.bak.1"));
}
