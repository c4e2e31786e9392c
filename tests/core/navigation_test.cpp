// Finding one's way around a loaded site: file lines of nodes and back,
// character columns, declarations across documents, include directives,
// project-wide matches, the way back, and the hints shown on hover.
#include "editor/keyword_store.h"
#include "editor/name_hint.h"
#include "gbk_literal.h"
#include "project/asp_loader.h"
#include "project/declaration_lookup.h"
#include "project/document_assembly.h"
#include "project/file_lines.h"
#include "project/navigation_history.h"
#include "project/project_matches.h"
#include "site_builder.h"

#include <gtest/gtest.h>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

namespace {

// Lines 8 to 10 are a procedure; line 7's "<% Sub Head() %>" starts one
// inside a line.
const std::string kIndex = Gbk("<%@ CodePage=936 %>\r\n"
                               "<!--#include file=\"inc/lib.asp\"-->\r\n"
                               "<html><body>\r\n"
                               "<% Dim total, 名单(10)\r\n"
                               "total = Add(1, 2) %>\r\n"
                               "<p>中文 <%= total %>丂@</p>\r\n"
                               "<%\r\n"
                               "Function Add(a, b)\r\n"
                               "    Add = a + b\r\n"
                               "End Function\r\n"
                               "Const LIMIT = 5\r\n"
                               "%>\r\n"
                               "</body></html>\r\n");
// UTF-8 with LF line ends.
const std::string kLib = "<%\n"
                         "Dim conn\n"
                         "Sub Note(s)\n"
                         "  ' \xE4\xB8\xAD\xE6\x96\x87 total\n"
                         "End Sub\n"
                         "Const TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"\n"
                         "%>\n";

class NavigationTest : public ::testing::Test {
protected:
    NavigationTest()
    {
        MakeSite(root, {{"global.asa", ""}, {"index.asp", kIndex}, {"inc/lib.asp", kLib}});
        LoadAspDocument(tree, nullptr, root / "index.asp", store, context);
        store.RefreshKeywords();
    }

    TreeNode *Node(const std::string &name) const
    {
        for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    std::size_t OffsetIn(const TreeNode *node, const std::string &text) const
    {
        return node->Text().find(text);
    }

    ScratchDir scratch{"navigation"};
    const fs::path root = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
};

TEST_F(NavigationTest, ADocumentShowsItsWholeFileAndAProcedureARunOfItsLines)
{
    TreeNode *doc = tree.FirstTopLevel();
    TreeNode *add = Node("Add(a, b)");
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(doc->Text(), kIndex);
    EXPECT_EQ(FirstFileLineOf(*doc), 1);
    EXPECT_EQ(FirstFileLineOf(*add), 8);
    EXPECT_EQ(add->Text(), "Function Add(a, b)\r\n    Add = a + b\r\nEnd Function\r\n");
    // LF line ends in the file: rows are still the file's lines.
    EXPECT_EQ(FirstFileLineOf(*Node("Note(s)")), 3);
    EXPECT_EQ(FileLineCount(*Node("inc/lib.asp")), 8);
}

TEST_F(NavigationTest, EveryFileLineLeadsToTheDocumentsRow)
{
    for (TreeNode *doc : {tree.FirstTopLevel(), Node("inc/lib.asp")}) {
        const std::string_view file = doc->Text();
        const int count = FileLineCount(*doc);
        EXPECT_EQ(count, 1 + static_cast<int>(std::count(file.begin(), file.end(), '\n')));
        for (int line = 1; line <= count; ++line) {
            const NodeRow place = NodeRowOfFileLine(*doc, line);
            EXPECT_EQ(place.node, doc) << line;
            EXPECT_EQ(place.row, line - 1) << line;
        }
        EXPECT_EQ(NodeRowOfFileLine(*doc, count + 1).node, nullptr);
        EXPECT_EQ(NodeRowOfFileLine(*doc, 0).node, nullptr);
    }
    // A procedure's own view leads to its file's document.
    EXPECT_EQ(NodeRowOfFileLine(*Node("Add(a, b)"), 9).node, tree.FirstTopLevel());
}

TEST_F(NavigationTest, LinesFollowAnEditedProcedure)
{
    TreeNode *add = Node("Add(a, b)");
    TreeNode *doc = tree.FirstTopLevel();
    SetNodeText(*add, "Function Add(a, b)\r\n    ' sum\r\n    Add = a + b\r\nEnd Function\r\n");
    EXPECT_EQ(FileLineCount(*doc), 15);
    EXPECT_EQ(NodeRowOfFileLine(*doc, 9).row, 8);
    EXPECT_NE(doc->Text().find("Function Add(a, b)\r\n    ' sum\r\n"), std::string_view::npos);
    EXPECT_EQ(FilePositionOf(*add, 3, "End Function", 3).line, 11);
}

TEST_F(NavigationTest, ColumnsCountCharactersInEitherEncoding)
{
    EXPECT_EQ(CharacterCount(TextEncoding::Gbk, Gbk("<p>中文 ")), 6u);
    EXPECT_EQ(CharacterCount(TextEncoding::Utf8, "<p>\xE4\xB8\xAD\xE6\x96\x87 "), 6u);
    // A lone lead byte is one character, not half of one.
    EXPECT_EQ(CharacterCount(TextEncoding::Gbk, "a\xB0"), 2u);
    TreeNode *doc = tree.FirstTopLevel();
    const std::string row5 = Gbk("<p>中文 <%= total %>丂@</p>");
    const FilePosition at = FilePositionOf(*doc, 5, row5, row5.find("<%="));
    EXPECT_EQ(at.line, 6);
    EXPECT_EQ(at.column, 7);
    const TreeNode *lib = Node("inc/lib.asp");
    const FilePosition title = FilePositionOf(*lib, 5, "Const TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"", 21);
    EXPECT_EQ(title.line, 6);
    EXPECT_EQ(title.column, 18);
    const FilePosition inside = FilePositionOf(*Node("Add(a, b)"), 1, "    Add = a + b", 4);
    EXPECT_EQ(inside.line, 9);
    EXPECT_EQ(inside.column, 5);
}

TEST_F(NavigationTest, DeclarationsAreFoundInWhicheverDocumentHoldsThem)
{
    TreeNode *doc = tree.FirstTopLevel();
    TreeNode *add = Node("Add(a, b)");
    TreeNode *lib = Node("inc/lib.asp");
    struct Case {
        TreeNode *from;
        std::string name;
        TreeNode *node;
        std::string at;
    };
    const Case cases[] = {
        {doc, "Add", add, "Add(a, b)"},
        {doc, "conn", lib, "conn"},
        {doc, "title", lib, "TITLE"},
        {doc, "NOTE", Node("Note(s)"), "Note(s)"},
        {add, "total", doc, "total, "},
        {lib, "limit", doc, "LIMIT"},
        {doc, Gbk("名单"), doc, Gbk("名单(10)")},
        {add, "a", add, "a, b"},
    };
    for (const Case &c : cases) {
        const std::optional<NodePlace> place = FindDeclaration(tree, *c.from, c.name);
        ASSERT_TRUE(place) << c.name;
        EXPECT_EQ(place->node, c.node) << c.name;
        EXPECT_EQ(place->offset, OffsetIn(c.node, c.at)) << c.name;
        EXPECT_EQ(place->length, c.name.size()) << c.name;
    }
    // A name used but never declared, and one only in a comment.
    EXPECT_FALSE(FindDeclaration(tree, *doc, "Response"));
    EXPECT_FALSE(FindDeclaration(tree, *lib, "body"));
}

TEST_F(NavigationTest, AnIncludeDirectiveLeadsToItsDocument)
{
    TreeNode *doc = tree.FirstTopLevel();
    const std::string line = "<!--#include file=\"inc/lib.asp\"-->";
    EXPECT_EQ(IncludedDocumentAt(tree, *doc, line, 0), Node("inc/lib.asp"));
    EXPECT_EQ(IncludedDocumentAt(tree, *doc, line, 20), Node("inc/lib.asp"));
    EXPECT_EQ(IncludedDocumentAt(tree, *doc, line + " x", line.size() + 1), nullptr);
    EXPECT_EQ(IncludedDocumentAt(tree, *doc, "<html>", 2), nullptr);
}

TEST_F(NavigationTest, NamesAroundTheCaret)
{
    EXPECT_EQ(NameAt("x = Add(1)", 5).begin, 4u);
    EXPECT_EQ(NameAt("x = Add(1)", 5).end, 7u);
    EXPECT_EQ(NameAt("x = Add(1)", 7).begin, 4u);  // just after the name
    const NameBounds number = NameAt("x = 12", 5);
    EXPECT_EQ(number.begin, number.end);
}

TEST_F(NavigationTest, ProjectMatchesListEveryNodeWithFileLines)
{
    const std::vector<ProjectMatch> matches = FindAllInProject(tree, "TOTAL");
    ASSERT_EQ(matches.size(), 4u);
    EXPECT_EQ(matches[0].fileLine, 4);
    EXPECT_EQ(matches[0].lineText, "<% Dim total, 名单(10)");
    EXPECT_EQ(matches[2].fileLine, 6);
    EXPECT_EQ(matches[2].document, "index.asp");
    EXPECT_EQ(matches[2].node->Text().substr(matches[2].offset, 5), "total");
    // The comment inside the UTF-8 file's Sub, at the file's line.
    EXPECT_EQ(matches[3].node, Node("Note(s)"));
    EXPECT_EQ(matches[3].fileLine, 4);
    EXPECT_EQ(matches[3].document, "inc/lib.asp");
    EXPECT_EQ(matches[3].lineText, "' 中文 total");

    // Chinese text is found in both encodings.
    const std::vector<ProjectMatch> chinese = FindAllInProject(tree, "中文");
    ASSERT_EQ(chinese.size(), 3u);
    EXPECT_EQ(chinese[0].length, 4u);  // GBK
    EXPECT_EQ(chinese[1].length, 6u);  // UTF-8
    // "丂" is 0x81 '@': only the real '@' matches.
    const std::vector<ProjectMatch> at = FindAllInProject(tree, "@");
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0].fileLine, 1);
    EXPECT_EQ(at[1].node->Text().substr(at[1].offset - 2, 3), Gbk("丂@"));
    EXPECT_TRUE(FindAllInProject(tree, "").empty());
}

TEST_F(NavigationTest, HistoryGoesBackAndForgetsDeletedNodes)
{
    NavigationHistory history(tree);
    TreeNode *doc = tree.FirstTopLevel();
    TreeNode *lib = Node("inc/lib.asp");
    history.Push({doc, 10});
    history.Push({doc, 10});  // the same place once
    history.Push({lib, 3});
    history.Push({Node("Note(s)"), 1});
    tree.Delete(lib);  // with its Sub
    const std::optional<HistoryPlace> back = history.Back();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->node, doc);
    EXPECT_EQ(back->offset, 10u);
    EXPECT_FALSE(history.Back());
}

TEST_F(NavigationTest, HoverHintsAreTheCompletionListsHints)
{
    EXPECT_EQ(HintOfName(store.Snapshot(), "limit"), Gbk("LIMIT  常量值:5"));
    EXPECT_EQ(HintOfName(store.Snapshot(), "add"), "Add(a, b)");
    EXPECT_EQ(HintOfName(store.Snapshot(), Gbk("名单")), Gbk("名单  数组上限:10"));
    EXPECT_EQ(HintOfName(store.Snapshot(), "nosuchname"), "");
}

}  // namespace
