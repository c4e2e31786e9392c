// The page's problems as the window shows them: checked from the documents'
// texts as edited, not the files, and each placed in the node of its file
// at the bytes the editor shows.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/project_problems.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <set>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

namespace {

const std::string kIndex = "<% Option Explicit %>\r\n"
                           "<!--#include file=\"inc/lib.asp\"-->\r\n"
                           "<% Dim total\r\n"
                           "total = Twice(2)\r\n"
                           "%>\r\n";
// LF line ends on disk; its line 3 misses the name after Sub.
const std::string kLib = "<%\n"
                         "Function Twice(n) : Twice = n * 2 : End Function\n"
                         "Sub\n"
                         "End Sub\n"
                         "%>\n";

class ProjectProblemsTest : public ::testing::Test {
protected:
    ProjectProblemsTest()
    {
        MakeSite(root, {{"global.asa", ""}, {"index.asp", kIndex}, {"inc/lib.asp", kLib}});
        LoadAspDocument(tree, nullptr, root / "index.asp", store, context);
    }

    TreeNode *Node(const std::string &name) const
    {
        for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    ProblemCheck Check() const { return CheckProblems(ProblemCheckInputOf(tree, {})); }
    void Replace(TreeNode *node, const std::string &from, const std::string &to)
    {
        Document &doc = *node->Doc();
        ASSERT_TRUE(doc.Apply({doc.Text().find(from), from, to}));
    }

    ScratchDir scratch{"project_problems"};
    const fs::path root = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
};

TEST_F(ProjectProblemsTest, AnIncludesErrorIsPlacedInItsNodeAtTheBytesTheEditorShows)
{
    const ProblemCheck check = Check();
    ASSERT_EQ(check.failure, "");
    ASSERT_EQ(check.errors, 1);
    EXPECT_EQ(check.warnings, 0);
    const Problem &problem = check.problems.front();
    EXPECT_EQ(problem.shownFile, "inc/lib.asp");
    EXPECT_EQ(problem.diagnostic.line, 3);
    EXPECT_EQ(problem.code, "800A03F2");  // the name a Sub needs
    EXPECT_NE(problem.message.find("标识符"), std::string::npos);

    // The document's lines end CR LF: the place counts in its text, not
    // in the file's LF bytes.
    const ProblemPlace place = PlaceOf(DocumentNodesOf(tree), problem);
    ASSERT_EQ(place.node, Node("inc/lib.asp"));
    const std::string_view text = place.node->Text();
    EXPECT_EQ(text.substr(0, place.offset).rfind("\r\nSub"), place.offset - 5);
    EXPECT_EQ(place.length, 0u);  // the missing name is a place, not the line break
}

TEST_F(ProjectProblemsTest, UnsavedEditsAreCheckedNotTheFiles)
{
    Replace(Node("inc/lib.asp"), "Sub\r\n", "Sub Note()\r\n");
    EXPECT_EQ(Check().errors, 0);

    // A name the page's Option Explicit does not know, typed in the page.
    Replace(tree.FirstTopLevel(), "total = Twice(2)", "totl = Twice(2)");
    const ProblemCheck check = Check();
    ASSERT_EQ(check.errors, 1);
    const ProblemPlace place = PlaceOf(DocumentNodesOf(tree), check.problems.front());
    EXPECT_EQ(place.node, tree.FirstTopLevel());
    EXPECT_EQ(place.node->Text().substr(place.offset, place.length), "totl");
}

TEST_F(ProjectProblemsTest, APlaceStaysInsideATextThatShrankSinceTheCheck)
{
    const ProblemCheck check = Check();
    ASSERT_FALSE(check.problems.empty());
    TreeNode *lib = Node("inc/lib.asp");
    Replace(lib, std::string(lib->Text()), "<% %>");
    const ProblemPlace place = PlaceOf(DocumentNodesOf(tree), check.problems.front());
    EXPECT_LE(place.offset + place.length, lib->Text().size());
}

TEST_F(ProjectProblemsTest, NothingLoadedMeansNothingToCheckAndAGoneFileIsSaid)
{
    ProjectTree empty;
    const ProblemCheck none = CheckProblems(ProblemCheckInputOf(empty, {}));
    EXPECT_TRUE(none.problems.empty());
    EXPECT_EQ(none.failure, "");

    ProblemCheckInput input = ProblemCheckInputOf(tree, root / "no-such-folder");
    EXPECT_NE(CheckProblems(input).failure, "");
}

}  // namespace

// The encodings the server reads the files by are the page's problems too:
// a byte-order mark in an include (sent as text in the middle of the page)
// and an include written in another encoding than the page is read by,
// each in its file's node, at the bytes the editor shows (LF on disk).
TEST(ProjectEncodingProblems, EncodingConflictsAreListedInTheirFilesNodes)
{
    ScratchDir scratch{"project_encoding_problems"};
    const fs::path &root = scratch.Path();
    MakeSite(root, {{"global.asa", ""},
                    {"index.asp", "<%@ CodePage=65001 %>\n<!--#include file=\"gbk.asp\"-->\n"
                                  "<!--#include file=\"bom.asp\"-->\n<p>\xE4\xB8\xAD</p>\n"},
                    {"gbk.asp", "<%\nx = 1\n' \xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\n%>\n"},
                    {"bom.asp", "\xEF\xBB\xBF<% y = 2 %>\n"}});
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
    LoadAspDocument(tree, nullptr, root / "index.asp", store, context);
    const ProblemCheck check = CheckProblems(ProblemCheckInputOf(tree, {}));
    ASSERT_EQ(check.failure, "");
    std::set<std::string> found;
    const DocumentNodes nodes = DocumentNodesOf(tree);
    for (const Problem &p : check.problems) {
        found.insert(p.shownFile + " " + p.code);
        const ProblemPlace place = PlaceOf(nodes, p);
        ASSERT_NE(place.node, nullptr) << p.code;
        EXPECT_EQ(place.node->Record()->SourceFile.filename(), fs::path(p.shownFile).filename());
    }
    EXPECT_TRUE(found.contains("gbk.asp include-encoding")) << ::testing::PrintToString(found);
    EXPECT_TRUE(found.contains("bom.asp include-bom")) << ::testing::PrintToString(found);
}
