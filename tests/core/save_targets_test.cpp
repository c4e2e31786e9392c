#include "file_snapshot.h"
#include "project/asp_writer.h"
#include "recording_prompter.h"
#include "scratch_dir.h"
#include "site_builder.h"

#include <gtest/gtest.h>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

namespace {

// A project whose root is site/index.asp, its documents listed as display
// text and the file each was read from (none: a new document), saved into
// `into`. Each document's text names it, so a file's bytes tell which
// document was written there.
struct Case {
    const char *name;
    SiteFiles files;
    std::vector<std::pair<std::string, std::string>> documents;
    const char *into;
    // The files written and the document each holds; every other file
    // stays as it was, and nothing else appears.
    std::map<std::string, std::string> written;
    // Or: the save refuses, before writing anything, with this in its message.
    const char *refusal = nullptr;
};

const Case kCases[] = {
    {"AFlattenedIncludeGoesBackToItsFile",
     {{"site/inc/conn.asp", "old"}, {"site/conn.asp", "unrelated"}},
     {{"conn.asp", "site/inc/conn.asp"}},
     "site",
     {{"site/index.asp", "index.asp"}, {"site/inc/conn.asp", "conn.asp"}}},
    {"AnIncludeInOtherLettersGoesBackToItsFile",
     {{"site/inc/conn.asp", "old"}},
     {{"INC/Conn.ASP", "site/inc/conn.asp"}},
     "site",
     {{"site/index.asp", "index.asp"}, {"site/inc/conn.asp", "INC/Conn.ASP"}}},
    {"AnIncludePathWithBackslashesGoesBackToItsFile",
     {{"site/inc/conn.asp", "old"}},
     {{"inc\\conn.asp", "site/inc/conn.asp"}, {"lib\\\xD6\xD0.asp", ""}},
     "site",
     {{"site/index.asp", "index.asp"},
      {"site/inc/conn.asp", "inc\\conn.asp"},
      {"site/lib/\u4E2D.asp", "lib\\\xD6\xD0.asp"}}},
    {"ARenamedDocumentGoesToItsNewName",
     {{"site/inc.asp", "old"}},
     {{"renamed.asp", "site/inc.asp"}},
     "site",
     {{"site/index.asp", "index.asp"}, {"site/renamed.asp", "renamed.asp"}}},
    {"ElsewhereTheSpellingOnDiskIsKept",
     {{"copy/Inc/CONN.ASP", "old"}, {"copy/INDEX.ASP", "old"}},
     {{"inc/conn.asp", "site/inc/conn.asp"}},
     "copy",
     {{"copy/INDEX.ASP", "index.asp"}, {"copy/Inc/CONN.ASP", "inc/conn.asp"}}},
    {"NewNamesInOtherLettersShareOneSpelling",
     {},
     {{"Fresh/a.asp", ""}, {"fresh/b.asp", ""}},
     "copy",
     {{"copy/index.asp", "index.asp"},
      {"copy/Fresh/a.asp", "Fresh/a.asp"},
      {"copy/Fresh/b.asp", "fresh/b.asp"}}},
    {"AChineseNameIsAUtf8FileName",
     {},
     {{"\xD6\xD0\xCE\xC4.asp", ""}, {"\x95\x5C.asp", ""}},  // the last one's second byte is a backslash
     "site",
     {{"site/index.asp", "index.asp"},
      {"site/\u4E2D\u6587.asp", "\xD6\xD0\xCE\xC4.asp"},
      {"site/\u661E.asp", "\x95\x5C.asp"}}},
    {"ALinkedFileIsWrittenThrough",
     {{"site/lib/shared.asp", "old"}, {"site/shared.asp", "->lib/shared.asp"}},
     {{"shared.asp", "site/shared.asp"}},
     "site",
     {{"site/index.asp", "index.asp"}, {"site/lib/shared.asp", "shared.asp"}}},
    {"TwoDocumentsOnOneFile",
     {},
     {{"x.asp", ""}, {"X.asp", ""}},
     "copy",
     {},
     "文档 x.asp 与文档 X.asp 会写入同一个文件"},
    {"ANewDocumentOverAnotherDocumentsFile",
     {{"site/inc/conn.asp", "old"}},
     {{"conn.asp", "site/inc/conn.asp"}, {"inc/conn.asp", ""}},
     "site",
     {},
     "文档 conn.asp 与文档 inc/conn.asp 会写入同一个文件"},
    {"ALinkedFolderLeadingOutside",
     {{"outside/conn.asp", "old"}, {"site/inc", "->../outside"}},
     {{"inc/conn.asp", "site/inc/conn.asp"}},
     "site",
     {},
     "inc/conn.asp"},
    {"ALinkedFileLeadingOutside",
     {{"outside/conn.asp", "old"}, {"copy/conn.asp", "->../outside/conn.asp"}},
     {{"conn.asp", ""}},
     "copy",
     {},
     "之外"},
    {"ANameLeadingOutside", {}, {{"../escape.asp", ""}}, "site", {}, "../escape.asp"},
};

void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

class SaveTargets : public ::testing::TestWithParam<Case> {
protected:
    ScratchDir scratch{"targets"};
};

}  // namespace

TEST_P(SaveTargets, EachDocumentLandsOnItsOwnFileInsideTheFolder)
{
    const Case &c = GetParam();
    MakeSite(scratch.Path(), {{"site/index.asp", "old"}});
    MakeSite(scratch.Path(), c.files);
    fs::create_directories(scratch / c.into);
    ProjectTree tree;
    TreeNode *root = AddDocument(tree, nullptr, "index.asp", "' index.asp", scratch / "site/index.asp");
    for (const auto &[display, source] : c.documents)
        AddDocument(tree, root, display, "' " + display, source.empty() ? fs::path() : scratch / source);
    const Snapshot before = TakeSnapshot(scratch.Path());
    RecordingPrompter prompter;

    if (c.refusal) {
        try {
            SaveAspDocument(root, scratch / c.into, false, prompter);
            ADD_FAILURE() << "saved";
        } catch (const WriteError &e) {
            EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << e.what();
        }
        EXPECT_EQ(TakeSnapshot(scratch.Path()), before);
        return;
    }
    EXPECT_EQ(SaveAspDocument(root, scratch / c.into, false, prompter).outcome, SaveOutcome::Saved);
    Snapshot after = TakeSnapshot(scratch.Path());
    for (const auto &[file, document] : c.written) {
        EXPECT_NE(after[file].find("' " + document + "\r\n"), std::string::npos)
            << file << ": " << after[file];
        after.erase(file);
        // New folders on the way to it.
        for (fs::path folder = fs::path(file).parent_path(); !before.count(folder.string());
             folder = folder.parent_path())
            if (after.count(folder.string())) {
                EXPECT_EQ(after.extract(folder.string()).mapped(), "folder");
            }
    }
    Snapshot unchanged = before;
    for (const auto &[file, document] : c.written)
        unchanged.erase(file);
    after.erase(c.into);  // made by the test for saves elsewhere
    unchanged.erase(c.into);
    EXPECT_EQ(after, unchanged);
    EXPECT_TRUE(prompter.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Saves, SaveTargets, ::testing::ValuesIn(kCases),
                         [](const auto &test) { return std::string(test.param.name); });

// A document included twice is one document: written once, from its first
// node, with both include lines in their parents.
TEST(SaveTargetsRepeat, ARepeatIsWrittenFromItsFirstNode)
{
    ScratchDir scratch("repeat");
    MakeSite(scratch.Path(), {{"index.asp", "old"}, {"a.asp", "old"}, {"x.asp", "old"}});
    ProjectTree tree;
    TreeNode *root = AddDocument(tree, nullptr, "index.asp", "", scratch / "index.asp");
    TreeNode *a = AddDocument(tree, root, "a.asp", "", scratch / "a.asp");
    TreeNode *first = AddDocument(tree, a, "x.asp", "Dim x", scratch / "x.asp");
    AddDocument(tree, first, "y.asp", "Dim y");
    TreeNode *again = tree.AddChild(root, "x.asp");
    tree.ShareRecord(again, first);
    RecordingPrompter prompter;
    ASSERT_EQ(SaveAspDocument(root, scratch.Path(), false, prompter).outcome, SaveOutcome::Saved);
    EXPECT_EQ(ReadAll(scratch / "x.asp"), "<!--#include file=\"y.asp\"-->\r\n<%\r\nDim x\r\n%>\r\n");
    EXPECT_EQ(ReadAll(scratch / "index.asp"),
              "<!--#include file=\"a.asp\"-->\r\n<!--#include file=\"x.asp\"-->\r\n<%\r\n\r\n%>\r\n");
}

// Saving part of the project never writes over the file another document
// of it was read from.
TEST(SaveTargetsPart, ANewDocumentOverTheFileOfADocumentOutsideThePart)
{
    ScratchDir scratch("part");
    MakeSite(scratch.Path(), {{"index.asp", "old"}, {"a.asp", "old"}, {"inc/conn.asp", "old"}});
    ProjectTree tree;
    TreeNode *root = AddDocument(tree, nullptr, "index.asp", "", scratch / "index.asp");
    AddDocument(tree, root, "conn.asp", "", scratch / "inc/conn.asp");
    TreeNode *a = AddDocument(tree, root, "a.asp", "", scratch / "a.asp");
    AddDocument(tree, a, "inc/conn.asp", "Dim other");
    const Snapshot before = TakeSnapshot(scratch.Path());
    RecordingPrompter prompter;
    try {
        SaveAspDocument(a, scratch.Path(), false, prompter);
        ADD_FAILURE() << "saved";
    } catch (const WriteError &e) {
        EXPECT_NE(std::string(e.what()).find("文档 inc/conn.asp 会覆盖文档 conn.asp 读入的文件"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(TakeSnapshot(scratch.Path()), before);
}
