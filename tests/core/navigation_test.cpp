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

TEST_F(NavigationTest, DocumentRowsSkipTheLinesOfTheirProcedures)
{
    TreeNode *doc = tree.FirstTopLevel();
    ASSERT_NE(Node("Add(a, b)"), nullptr);
    EXPECT_EQ(FileLinesOfRows(*doc), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14}));
    EXPECT_EQ(FileLinesOfRows(*Node("Add(a, b)")), (std::vector<int>{8, 9, 10, 11}));
    // LF line ends in the file: rows are still the file's lines.
    EXPECT_EQ(FileLinesOfRows(*Node("inc/lib.asp")), (std::vector<int>{1, 2, 6, 7, 8}));
    EXPECT_EQ(FileLinesOfRows(*Node("Note(s)")).front(), 3);
}

TEST_F(NavigationTest, EveryFileLineLeadsToTheRowShowingIt)
{
    for (TreeNode *doc : {tree.FirstTopLevel(), Node("inc/lib.asp")}) {
        const std::string file = AssembleDocument(*doc);
        const int count = FileLineCount(*doc);
        EXPECT_EQ(count, 1 + static_cast<int>(std::count(file.begin(), file.end(), '\n')));
        for (int line = 1; line <= count; ++line) {
            const NodeRow place = NodeRowOfFileLine(*doc, line);
            ASSERT_NE(place.node, nullptr) << line;
            EXPECT_EQ(FileLinesOfRows(*place.node).at(static_cast<std::size_t>(place.row)), line) << line;
        }
        EXPECT_EQ(NodeRowOfFileLine(*doc, count + 1).node, nullptr);
        EXPECT_EQ(NodeRowOfFileLine(*doc, 0).node, nullptr);
    }
    // A procedure's lines go to its node, the line after it to the document.
    EXPECT_EQ(NodeRowOfFileLine(*tree.FirstTopLevel(), 9).node, Node("Add(a, b)"));
    EXPECT_EQ(NodeRowOfFileLine(*tree.FirstTopLevel(), 9).row, 1);
    EXPECT_EQ(NodeRowOfFileLine(*tree.FirstTopLevel(), 11).node, tree.FirstTopLevel());
}

TEST_F(NavigationTest, LinesFollowAnEditedProcedure)
{
    TreeNode *add = Node("Add(a, b)");
    SetNodeText(*add, "Function Add(a, b)\r\n    ' sum\r\n    Add = a + b\r\nEnd Function\r\n");
    EXPECT_EQ(FileLinesOfRows(*tree.FirstTopLevel()).at(7), 12);
    EXPECT_EQ(NodeRowOfFileLine(*tree.FirstTopLevel(), 11).node, add);
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
    const FilePosition title = FilePositionOf(*lib, 2, "Const TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"", 21);
    EXPECT_EQ(title.line, 6);
    EXPECT_EQ(title.column, 18);
}

// The editor passes each row's start; every place of every node must come
// out as when the rows are counted from the top.
void ExpectRowStartsGiveTheSamePlaces(const TreeNode &node)
{
    const std::string &text = node.Text();
    int row = 0;
    for (size_t start = 0;; ++row) {
        const size_t br = text.find("\r\n", start);
        const std::string_view line =
            std::string_view(text).substr(start, br == std::string::npos ? br : br - start);
        for (size_t column = 0; column <= line.size(); ++column) {
            const FilePosition counted = FilePositionOf(node, row, line, column);
            const FilePosition given = FilePositionOf(node, row, start, line, column);
            EXPECT_EQ(given.line, counted.line)
                << node.DisplayText() << " row " << row << " column " << column;
            EXPECT_EQ(given.column, counted.column)
                << node.DisplayText() << " row " << row << " column " << column;
        }
        if (br == std::string::npos)
            break;
        start = br + 2;
    }
    // A start that is no row's start is counted from the top.
    if (text.size() > 1) {
        EXPECT_EQ(FilePositionOf(node, 1, 1, "", 0).line, FilePositionOf(node, 1, "", 0).line);
    }
    for (const auto &child : node.Children())
        ExpectRowStartsGiveTheSamePlaces(*child);
}

TEST_F(NavigationTest, RowStartsFromTheEditorGiveTheSamePlaces)
{
    ExpectRowStartsGiveTheSamePlaces(*tree.FirstTopLevel());
}

TEST(FilePositionTest, ARowHoldingAProcedureCountsItsLinesAndColumns)
{
    // The file: "<% Sub Head() %>", "<h1>中</h1>", "<% End Sub %>", "x", "".
    ProjectTree tree;
    TreeNode *doc = AddDocument(tree, nullptr, "a.asp", "<%  %>\r\nx\r\n");
    TreeNode *head = tree.AddChild(doc, "Head()");
    tree.SetImages(head, kFunctionImage);
    TTreeRec record(Gbk("Sub Head() %>\r\n<h1>中</h1>\r\n<% End Sub"));
    record.Anchor = 3;
    tree.AttachRecord(head, std::move(record));
    EXPECT_EQ(FileLinesOfRows(*doc), (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(FileLinesOfRows(*head), (std::vector<int>{1, 2, 3}));
    const FilePosition beforeIt = FilePositionOf(*doc, 0, "<%  %>", 2);
    EXPECT_EQ(beforeIt.line, 1);
    EXPECT_EQ(beforeIt.column, 3);
    // After the procedure: on its End line, after "<% End Sub ".
    const FilePosition afterIt = FilePositionOf(*doc, 0, "<%  %>", 4);
    EXPECT_EQ(afterIt.line, 3);
    EXPECT_EQ(afterIt.column, 12);
    const FilePosition inside = FilePositionOf(*head, 1, Gbk("<h1>中</h1>"), 6);
    EXPECT_EQ(inside.line, 2);
    EXPECT_EQ(inside.column, 6);
    EXPECT_EQ(NodeRowOfFileLine(*doc, 3).node, head);
    EXPECT_EQ(NodeRowOfFileLine(*doc, 4).row, 1);
    ExpectRowStartsGiveTheSamePlaces(*doc);
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
