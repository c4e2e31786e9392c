// Pages as the server compiles them: one file split into pieces, and pieces
// from several files parsed as one program with positions in each file.
#include "parse_helpers.h"

#include "vbscript/source_pieces.h"

#include <gtest/gtest.h>

using namespace qasp::vbs;
using namespace qasp::vbs::test;
using qasp::TextEncoding;

namespace {

std::string DumpFile(std::string_view page)
{
    return DumpTree(ParseFile(page, 0, TextEncoding::Utf8).tree);
}

std::string FileErrors(std::string_view page)
{
    return ErrorList(ParseFile(page, 0, TextEncoding::Utf8).diagnostics);
}

// Tokens lexed piece by piece and handed to the parser give the parse the
// lexer gives, errors at the end of input included.
TEST(PieceTokens, GiveTheSameTreeAndErrorsAsLexingThePage)
{
    const std::string_view pages[] = {
        "<p>\xE4\xB8\xAD<%= a.End %></p><% If x Then %>\r\n<b>y</b><% Else : z = New C.D(1) %>x<% End If %>",
        "<% Sub s(a)\r\n  x = a _\r\n    + 1 ' note\r\nEnd Sub %><%= \"unclosed",
        "<% If a Then\r\n Do While b\r\n",
        "",
    };
    for (const std::string_view page : pages) {
        const std::vector<SourcePiece> pieces = PiecesOfFile(page, 3, TextEncoding::Gbk);
        std::vector<std::vector<Token>> lexed;
        lexed.reserve(pieces.size());
        for (const SourcePiece &p : pieces)
            lexed.push_back(LexPiece(p));
        const PieceTokens given = [&](size_t i) { return std::span<const Token>(lexed[i]); };
        const ParseResult expected = ParsePage(pieces);
        const ParseResult got = ParsePage(pieces, given);
        EXPECT_EQ(DumpTree(got.tree), DumpTree(expected.tree)) << page;
        EXPECT_EQ(ErrorList(got.diagnostics), ErrorList(expected.diagnostics)) << page;
        ASSERT_EQ(got.tree.nodes.size(), expected.tree.nodes.size());
        for (size_t n = 0; n < got.tree.nodes.size(); ++n) {
            EXPECT_EQ(got.tree.nodes[n].span.begin, expected.tree.nodes[n].span.begin);
            EXPECT_EQ(got.tree.nodes[n].span.endLine, expected.tree.nodes[n].span.endLine);
            EXPECT_EQ(got.tree.nodes[n].span.endColumn, expected.tree.nodes[n].span.endColumn);
        }
    }
}

TEST(PiecesOfFile, SplitsCodeOutputAndHtmlWithTheirPositions)
{
    const std::string page = "<%@ Language=VBScript %>\r\n<p>\xE4\xB8\xAD<%= a %></p><% x = 1 %>\r\n"
                             "<script runat=\"server\" language=\"VBScript\">Sub s : End Sub</script>"
                             "<script>var v;</script><script runat=server language=JScript>x</script>";
    const std::vector<SourcePiece> pieces = PiecesOfFile(page, 4, TextEncoding::Utf8);
    ASSERT_EQ(pieces.size(), 7u);
    EXPECT_EQ(pieces[0].kind, PieceKind::Html);
    EXPECT_EQ(pieces[0].text, "\r\n<p>\xE4\xB8\xAD");
    EXPECT_EQ(pieces[1].kind, PieceKind::Output);
    EXPECT_EQ(pieces[1].text, " a ");
    EXPECT_EQ(pieces[1].line, 2u);
    EXPECT_EQ(pieces[1].column, 8u);  // after "<p>中<%="
    EXPECT_EQ(pieces[1].offset, 35u);
    EXPECT_EQ(pieces[1].file, 4u);
    EXPECT_EQ(pieces[2].kind, PieceKind::Html);
    EXPECT_EQ(pieces[3].kind, PieceKind::Code);
    EXPECT_EQ(pieces[3].text, " x = 1 ");
    EXPECT_EQ(pieces[5].kind, PieceKind::Code);
    EXPECT_EQ(pieces[5].text, "Sub s : End Sub");
    EXPECT_EQ(pieces[5].line, 3u);
    EXPECT_EQ(pieces[6].kind, PieceKind::Html);
    EXPECT_EQ(pieces[6].text, "<script>var v;</script>");
}

struct Case {
    const char *page;
    const char *tree;
};

class Pages : public testing::TestWithParam<Case> {};

TEST_P(Pages, ParseAsOneProgram)
{
    EXPECT_EQ(DumpFile(GetParam().page), GetParam().tree) << GetParam().page;
    EXPECT_EQ(FileErrors(GetParam().page), "") << GetParam().page;
}

INSTANTIATE_TEST_SUITE_P(
    All, Pages,
    testing::Values(
        Case{"<% If x Then %>\r\n<b>yes</b>\r\n<% Else %>no<% End If %>",
             "(program (if (then x (body (html))) (else (body (html)))))"},
        Case{"<% For Each r In rs %><td><%= r.Name %></td><% Next %>",
             "(program (for-each r rs (body (html) (output (. r Name)) (html))))"},
        Case{"<% Sub Header() %><h1>t</h1><% End Sub %>", "(program (sub Header (params) (body (html))))"},
        Case{"<%= a + 1 %>", "(program (output (+ a 1)))"},
        Case{"<% If a Then b %>x<% c %>", "(program (if-line (then a (body (invoke b)))) (html) (invoke c))"},
        Case{"<%@ Language=VBScript %>\r\n<% Option Explicit %>", "(program (html) (option-explicit))"},
        Case{"<% Select Case x %><% Case 1 %>one<% End Select %>",
             "(program (select x (case 1 (body (html)))))"}));

TEST(Pages, HtmlCountsAsAStatementWhereStatementsAreRuled)
{
    EXPECT_EQ(FileErrors("<p>hi</p><% Option Explicit %>"), "1024@1:13");
    // A UTF-8 file's byte-order mark is no output.
    EXPECT_EQ(FileErrors("\xEF\xBB\xBF<%@ CodePage=65001 %>\r\n<% ' note %>\r\n<% Option Explicit %>"), "");
    EXPECT_EQ(FileErrors("<% Select Case x %>\r\n<% Case 1 %><% End Select %>"), "1021@1:20");
    EXPECT_EQ(FileErrors("<% Class C %>\r\n<% End Class %>"), "1024@1:14");
    EXPECT_EQ(FileErrors("<%= %>"), "1023@1:5");
    EXPECT_EQ(FileErrors("<%= a, b %>"), "1025@1:6");
}

// main.asp: <% If a Then %>, then inc.asp's pieces, then <% End If %>.
TEST(Pages, KeepEachNodeInItsOwnFile)
{
    const std::string_view inc = "x = 1\r\n  y(";
    const SourcePiece pieces[] = {
        {PieceKind::Code, " If a Then ", 0, 2, 1, 3, TextEncoding::Utf8},
        {PieceKind::Code, inc, 1, 2, 1, 3, TextEncoding::Utf8},
        {PieceKind::Code, " End If ", 0, 45, 4, 3, TextEncoding::Utf8},
    };
    const ParseResult r = ParsePage(pieces);
    EXPECT_EQ(DumpTree(r.tree, DumpOptions{true}),
              "(program@1:4 (if@1:4 (then@1:4 a@1:7 (body@1:14 (assign@1:3 x@1:3 1@1:7) "
              "(invoke@2:3 (apply@2:3 y@2:3 (error@2:5)))))))");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].code, 1023);
    EXPECT_EQ(r.diagnostics[0].file, 1u);
    EXPECT_EQ(r.diagnostics[0].line, 2u);
    EXPECT_EQ(r.diagnostics[0].column, 5u);
    // The If ends at End If, in its own file.
    const Node &ifNode = r.tree[r.tree[r.tree.root].firstChild];
    EXPECT_EQ(ifNode.span.file, 0u);
    EXPECT_EQ(ifNode.span.begin, 3u);
    EXPECT_EQ(ifNode.span.end, 52u);
    EXPECT_EQ(ifNode.span.endLine, 4u);
    EXPECT_EQ(ifNode.span.endColumn, 10u);
}

// Columns count characters: in a GBK page a Chinese character is one.
TEST(Pages, PlaceErrorsByCharactersOfTheFilesEncoding)
{
    const std::string page = "<p>\xD6\xD0</p><% x = \"\xCE\xC4\xD7\xD6\" y %>";
    const ParseResult r = ParseFile(page, 3, TextEncoding::Gbk);
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].code, 1025);
    EXPECT_EQ(r.diagnostics[0].file, 3u);
    EXPECT_EQ(r.diagnostics[0].column, 21u);
    EXPECT_EQ(r.diagnostics[0].offset, 23u);
}

// An include's code before the page's own Option Explicit: the engine's
// "Expected statement", in the page.
TEST(Pages, OptionExplicitAfterAnIncludesCodeIsAnError)
{
    const SourcePiece pieces[] = {
        {PieceKind::Code, "Dim conn", 1, 2, 1, 3, TextEncoding::Utf8},
        {PieceKind::Code, " Option Explicit ", 0, 40, 2, 3, TextEncoding::Utf8},
    };
    const ParseResult r = ParsePage(pieces);
    EXPECT_EQ(ErrorList(r.diagnostics), "1024@2:4");
    EXPECT_EQ(r.diagnostics[0].file, 0u);
}

TEST(Pages, ListDeclarationsAndTheNamesUsed)
{
    const std::string page = "<% Dim total : Const Max = 3\r\nFunction Add(ByVal n)\r\n total = total + n\r\n"
                             "End Function\r\nClass Cart : Private items : End Class %>";
    const ParseResult r = ParseFile(page, 2, TextEncoding::Utf8);
    ASSERT_EQ(r.diagnostics.size(), 0u);
    std::vector<std::string> names;
    for (const Declaration &d : r.tree.declarations)
        names.push_back(std::string(d.name) + "@" + std::to_string(d.at.line) + ":"
                        + std::to_string(d.at.column));
    EXPECT_EQ(names, (std::vector<std::string>{"total@1:8", "Max@1:22", "Add@2:10", "n@2:20", "Cart@5:7",
                                               "items@5:22"}));
    const std::vector<const Declaration *> found = r.tree.FindDeclarations("TOTAL");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->kind, DeclarationKind::Variable);
    EXPECT_EQ(found[0]->scope, r.tree.root);
    EXPECT_EQ(r.tree.FindDeclarations("n")[0]->kind, DeclarationKind::Parameter);
    EXPECT_EQ(r.tree[r.tree.FindDeclarations("n")[0]->scope].kind, NodeKind::Function);
    EXPECT_EQ(r.tree[r.tree.FindDeclarations("items")[0]->scope].kind, NodeKind::Class);
    std::vector<std::string> uses;
    for (const NodeId id : r.tree.references)
        uses.push_back(std::string(r.tree[id].text) + "@" + std::to_string(r.tree[id].span.line) + ":"
                       + std::to_string(r.tree[id].span.column));
    EXPECT_EQ(uses, (std::vector<std::string>{"total@3:2", "total@3:10", "n@3:18"}));
}

}  // namespace
