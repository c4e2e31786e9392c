// After an error the parser goes on at the next statement: a page reports
// all its errors, broken pages never crash it, and input nested deeper than
// the limit is an error.
#include "parse_helpers.h"

#include "vbscript/lexer.h"

#include <gtest/gtest.h>

#include <string>

using namespace qasp::vbs;
using namespace qasp::vbs::test;

namespace {

TEST(Recovery, ReportsEveryBrokenStatementAndKeepsTheRest)
{
    const ParseResult r = ParseCode("x = \ny = 1 2 : z = 3\nIf a Then\n w = )\nEnd If\nv = 4");
    EXPECT_EQ(ErrorList(r.diagnostics), "1023@1:5 1025@2:7 1023@4:6");
    EXPECT_EQ(DumpTree(r.tree), "(program (assign x (error)) (assign y 1) (assign z 3) "
                                "(if (then a (body (assign w (error))))) (assign v 4))");
}

TEST(Recovery, AMissingEndIfIsReportedOnceAndTheProcedureStillCloses)
{
    EXPECT_EQ(Errors("Sub a\n If x Then\n  y\nEnd Sub\nSub b\nEnd Sub"), "1012@4:5");
    EXPECT_EQ(Errors("Function a\n For i = 1 To 2\nFunction b\nEnd Function"), "1020@3:1");
}

// Every node lies in its file's text and ends after it begins; every error
// does too.
void ExpectWellFormed(const ParseResult &r, std::string_view code)
{
    for (const Node &n : r.tree.nodes) {
        EXPECT_LE(n.span.begin, n.span.end);
        EXPECT_LE(n.span.end, code.size());
        EXPECT_GE(n.span.line, 1u);
    }
    for (const Diagnostic &d : r.diagnostics) {
        EXPECT_LE(d.offset, d.endOffset);
        EXPECT_LE(d.endOffset, code.size());
    }
    EXPECT_FALSE(DumpTree(r.tree).empty());
}

const char *const kSamplePages[] = {
    "Option Explicit\r\nDim rs, i\r\nSet rs = Server.CreateObject(\"ADODB.Recordset\")\r\n"
    "For i = 0 To 10 Step 2\r\n  If rs.EOF Then Exit For\r\n  Response.Write rs(\"name\") & \"<br>\"\r\n"
    "Next\r\nrs.Close : Set rs = Nothing\r\n",
    "Class Cart\r\n  Private m_items\r\n  Public Default Property Get Item(i)\r\n    Item = m_items(i)\r\n"
    "  End Property\r\n  Property Let Item(i, v)\r\n    m_items(i) = v\r\n  End Property\r\n"
    "  Sub Class_Initialize()\r\n    ReDim m_items(10)\r\n  End Sub\r\nEnd Class\r\n",
    "Function Pick(x)\r\n  Select Case x\r\n    Case 1, 2 : Pick = \"low\"\r\n    Case Else\r\n"
    "      Do While x > 0\r\n        x = x - 1\r\n      Loop\r\n  End Select\r\nEnd Function\r\n"
    "With Response\r\n  .Write Pick(3)\r\nEnd With\r\n",
    ("If Request(\"a\") = \"\" Then x = New Pager.Count(1) End If\r\nCall New Pager.Show()\r\n"
     "If x > 1 Then y = 2 Else y = 3 End If\r\n"),
};

// Token ranges of a page, to delete them one at a time.
std::vector<std::pair<size_t, size_t>> TokenRanges(std::string_view code)
{
    const SourcePiece piece{PieceKind::Code, code, 0, 0, 1, 1, qasp::TextEncoding::Utf8};
    Lexer lexer({&piece, 1});
    std::vector<std::pair<size_t, size_t>> ranges;
    for (Token t = lexer.Next(); t.kind != TokenKind::EndOfInput; t = lexer.Next())
        if (t.end > t.begin)
            ranges.emplace_back(t.begin, t.end);
    return ranges;
}

TEST(Recovery, DeletingAnyTokenNeverCrashesAndMostlyGivesAnError)
{
    for (const char *page : kSamplePages) {
        ASSERT_EQ(Errors(page), "") << page;
        size_t deletions = 0, broken = 0;
        for (const auto &[begin, end] : TokenRanges(page)) {
            const std::string code = std::string(page).erase(begin, end - begin);
            const ParseResult r = ParseCode(code);
            ExpectWellFormed(r, code);
            ++deletions;
            broken += r.diagnostics.empty() ? 0 : 1;
        }
        EXPECT_GT(broken * 3, deletions * 2) << broken << " of " << deletions << " in " << page;
    }
}

TEST(Recovery, DeletingAnyLineNeverCrashes)
{
    for (const char *page : kSamplePages) {
        const std::string text = page;
        for (size_t begin = 0; begin < text.size();) {
            const size_t end = text.find('\n', begin) + 1;
            const std::string code = text.substr(0, begin) + text.substr(end);
            ExpectWellFormed(ParseCode(code), code);
            begin = end;
        }
    }
}

struct Deep {
    const char *name;
    std::string code;
};

class DeepNesting : public testing::TestWithParam<Deep> {};

// Ten thousand levels: an error at the limit, not a stack overflow.
TEST_P(DeepNesting, IsAnErrorNotACrash)
{
    const ParseResult r = ParseCode(GetParam().code);
    ASSERT_FALSE(r.diagnostics.empty());
    EXPECT_EQ(r.diagnostics[0].code, 1001);
    EXPECT_LE(r.diagnostics.size(), kMaxDiagnostics);
    ExpectWellFormed(r, GetParam().code);
}

std::string Repeat(std::string_view s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    All, DeepNesting,
    testing::Values(Deep{"Brackets", "x = " + Repeat("(", 10000) + "1" + Repeat(")", 10000)},
                    Deep{"Calls", "x = " + Repeat("f(", 10000) + "1" + Repeat(")", 10000)},
                    Deep{"Signs", "x = " + Repeat("-", 10000) + "1"},
                    Deep{"Nots", "x = " + Repeat("Not ", 10000) + "a"},
                    Deep{"Ifs", Repeat("If a Then\n", 10000) + Repeat("End If\n", 10000)},
                    Deep{"Loops", Repeat("Do\n", 10000) + Repeat("Loop\n", 10000)},
                    Deep{"Withs", Repeat("With a\n", 10000) + Repeat("End With\n", 10000)}),
    [](const testing::TestParamInfo<Deep> &p) { return p.param.name; });

TEST(Recovery, ALongChainOfOperatorsIsNotNesting)
{
    const std::string code = "x = 1" + Repeat(" + 1", 100000);
    const ParseResult r = ParseCode(code);
    EXPECT_TRUE(r.diagnostics.empty());
    // "(+ " and " 1)" for each term.
    EXPECT_EQ(DumpTree(r.tree).size(),
              std::string("(program (assign x ").size() + size_t{100000} * 6 + 1 + 2);
}

}  // namespace
