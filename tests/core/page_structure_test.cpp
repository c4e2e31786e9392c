#include "site/page_structure.h"
#include "gbk_literal.h"

#include <gtest/gtest.h>

using namespace qasp;

namespace {

// What every scan must give: regions in order, covering the page, each code
// range inside its region; includes and procedures inside the page.
void ExpectWellFormed(std::string_view page, const PageStructure &s)
{
    size_t at = 0;
    for (const PageRegion &r : s.regions) {
        EXPECT_EQ(r.begin, at);
        EXPECT_LT(r.begin, r.end);
        EXPECT_LE(r.begin, r.codeBegin);
        EXPECT_LE(r.codeBegin, r.codeEnd);
        EXPECT_LE(r.codeEnd, r.end);
        at = r.end;
    }
    EXPECT_EQ(at, page.size());
    for (const Procedure &p : s.procedures)
        EXPECT_TRUE(p.begin < p.end && p.end <= page.size());
}

PageStructure Scan(std::string_view page, bool gbk = false)
{
    PageStructure s = ScanPageStructure(page, gbk);
    ExpectWellFormed(page, s);
    return s;
}

// The regions as "Kind[text]" one after another.
std::string Layout(std::string_view page, bool gbk = false)
{
    static const char *const names[] = {"H", "S", "E", "D", "SS", "SO", "C", "I"};
    std::string out;
    for (const PageRegion &r : Scan(page, gbk).regions)
        out +=
            std::string(names[int(r.kind)]) + "[" + std::string(page.substr(r.begin, r.end - r.begin)) + "]";
    return out;
}

std::vector<PageProblemKind> ProblemKinds(const PageStructure &s)
{
    std::vector<PageProblemKind> kinds;
    for (const PageProblem &p : s.problems)
        kinds.push_back(p.kind);
    return kinds;
}

std::string Text(std::string_view page, size_t begin, size_t end)
{
    return std::string(page.substr(begin, end - begin));
}

}  // namespace

TEST(PageStructure, ServerBlocksOfEachKindAndTheirCode)
{
    const std::string page = "<%@ Language=VBScript %>\r\n<p><%= a %><%b%></p>";
    EXPECT_EQ(Layout(page), "D[<%@ Language=VBScript %>]H[\r\n<p>]E[<%= a %>]S[<%b%>]H[</p>]");
    const PageStructure s = Scan(page);
    EXPECT_EQ(Text(page, s.regions[0].codeBegin, s.regions[0].codeEnd), " Language=VBScript ");
    EXPECT_EQ(Text(page, s.regions[2].codeBegin, s.regions[2].codeEnd), " a ");
    EXPECT_EQ(Text(page, s.regions[3].codeBegin, s.regions[3].codeEnd), "b");
}

TEST(PageStructure, BlockEndsAtTheFirstCloseOutsideAString)
{
    // In a string "%>" is text, "" included; an unclosed string ends at its line.
    EXPECT_EQ(Layout("<% x = \"a%>b\" & \"\"\"%>\" %>!"), "S[<% x = \"a%>b\" & \"\"\"%>\" %>]H[!]");
    EXPECT_EQ(Layout("<% x = \"a\r\n%>!"), "S[<% x = \"a\r\n%>]H[!]");
    // In a comment it closes the block, as the server does.
    EXPECT_EQ(Layout("<% ' it's \"%>\"<% REM \"%>!"), "S[<% ' it's \"%>]H[\"]S[<% REM \"%>]H[!]");
    // Remark and x.Rem are names, not comments: the quote opens a string.
    EXPECT_EQ(Layout("<% Remark \"%>\" %>"), "S[<% Remark \"%>\" %>]");
    EXPECT_EQ(Layout("<% x.Rem \"%>\" %>"), "S[<% x.Rem \"%>\" %>]");
}

TEST(PageStructure, UnterminatedBlockTakesTheRestOfThePage)
{
    const std::string page = "a\r\n<% Sub A()\r\nEnd Sub\r\n<p>";
    EXPECT_EQ(Layout(page), "H[a\r\n]S[<% Sub A()\r\nEnd Sub\r\n<p>]");
    const PageStructure s = Scan(page);
    ASSERT_EQ(ProblemKinds(s), std::vector{PageProblemKind::UnterminatedBlock});
    EXPECT_EQ(s.problems[0].offset, 3u);
    EXPECT_EQ(s.problems[0].line, 2);
    EXPECT_EQ(s.procedures.size(), 1u);
    EXPECT_EQ(Layout("<%"), "S[<%]");
    EXPECT_EQ(Layout("x<"), "H[x<]");
}

TEST(PageStructure, IncludeDirectivesInEveryFormTheServerTakes)
{
    struct Case {
        std::string text, path;
        IncludeKind kind;
    };
    const Case cases[] = {
        {"<!--#include file=\"inc/a.asp\"-->", "inc/a.asp", IncludeKind::File},
        {"<!-- #include file=\"a.asp\" -->", "a.asp", IncludeKind::File},
        {"<!--#INCLUDE FILE=\"A.ASP\"-->", "A.ASP", IncludeKind::File},
        {"<!--#include virtual=\"/inc/a.asp\"-->", "/inc/a.asp", IncludeKind::Virtual},
        {"<!--#include file=a.asp-->", "a.asp", IncludeKind::File},
        {"<!--#include file=a.asp -->", "a.asp", IncludeKind::File},
        {"<!--#include file='a b.asp'-->", "a b.asp", IncludeKind::File},
        {"<!--\t#include  file = \"a.asp\"\t-->", "a.asp", IncludeKind::File},
    };
    for (const Case &c : cases) {
        const std::string page = "x " + c.text + " y";
        const PageStructure s = Scan(page);
        ASSERT_EQ(s.includes.size(), 1u) << c.text;
        const IncludeDirective &d = s.includes[0];
        EXPECT_EQ(d.path, c.path) << c.text;
        EXPECT_EQ(d.kind, c.kind) << c.text;
        EXPECT_EQ(Text(page, d.begin, d.end), c.text);
        EXPECT_EQ(Text(page, d.pathBegin, d.pathEnd), c.path);
        EXPECT_EQ(Layout(page), "H[x ]I[" + c.text + "]H[ y]");
        EXPECT_TRUE(s.problems.empty()) << c.text;
    }
}

TEST(PageStructure, IncludesOnALineAfterAByteOrderMarkAndAfterEveryLineBreak)
{
    const std::string page = "\xEF\xBB\xBF<!--#include file=\"a.asp\"--><!--#include file=\"b.asp\"-->\r"
                             "x\n\r\n  <!--#include virtual=\"/c.asp\"-->";
    const PageStructure s = Scan(page);
    ASSERT_EQ(s.includes.size(), 3u);
    EXPECT_EQ(s.includes[0].begin, 3u);
    EXPECT_EQ(s.includes[1].line, 1);
    EXPECT_EQ(s.includes[2].line, 4);
}

TEST(PageStructure, IncludesCountOutsideServerCodeOnly)
{
    // Inside an HTML comment the directive still counts; inside code it is text.
    const std::string page = "<!-- menu <!--#include file=\"m.asp\"--> -->"
                             "<% s = \"<!--#include file=\"\"x.asp\"\"-->\" %>"
                             "<script runat=server>'<!--#include file=\"y.asp\"--></script>"
                             "<script><!--#include file=\"z.asp\"--></script>";
    const PageStructure s = Scan(page);
    ASSERT_EQ(s.includes.size(), 2u);
    EXPECT_EQ(s.includes[0].path, "m.asp");
    EXPECT_EQ(s.includes[1].path, "z.asp");
}

TEST(PageStructure, IncludeWithoutAPathStaysTextAndIsReported)
{
    for (const std::string text :
         {"<!-- #include -->", "<!--#include file=\"\"-->", "<!--#include src=\"a\"-->",
          "<!--#include file=\"a.asp-->", "<!--#include file=\"a.asp\""}) {
        const PageStructure s = Scan(text);
        EXPECT_TRUE(s.includes.empty()) << text;
        EXPECT_EQ(ProblemKinds(s), std::vector{PageProblemKind::MalformedInclude}) << text;
        EXPECT_EQ(Layout(text), "H[" + text + "]");
    }
    // Another comment, or another word, is plain HTML with nothing to report.
    EXPECT_TRUE(Scan("<!-- #included --><!--#exec cmd=\"x\"-->").problems.empty());
}

TEST(PageStructure, ServerScriptElementsAndTheirLanguage)
{
    EXPECT_EQ(Layout("<SCRIPT Language=VBScript RUNAT='Server'>s = \"<%\"</script >x"),
              "SS[<SCRIPT Language=VBScript RUNAT='Server'>s = \"<%\"</script >]H[x]");
    EXPECT_EQ(Layout("<script runat=\"server\">Sub A()\nEnd Sub\n</SCRIPT>"),
              "SS[<script runat=\"server\">Sub A()\nEnd Sub\n</SCRIPT>]");
    // Server JScript is server code, but not VBScript.
    EXPECT_EQ(Layout("<script language=\"javascript\" runat=server>if (a<%b) {}</script>"),
              "SO[<script language=\"javascript\" runat=server>if (a<%b) {}</script>]");
    const std::string page = "<script runat=server>\r\nx\r\n</script>";
    const PageRegion r = Scan(page).regions[0];
    EXPECT_EQ(Text(page, r.codeBegin, r.codeEnd), "\r\nx\r\n");
}

TEST(PageStructure, ClientScriptAndStyleAreSplitByTheServerBlocksInThem)
{
    const std::string page = "<script>var a = <%= x %>;</script><style src=\"<%=s%>\">p{}</STYLE>";
    EXPECT_EQ(Layout(page),
              "C[<script>var a = ]E[<%= x %>]C[;</script>]C[<style src=\"]E[<%=s%>]C[\">p{}</STYLE>]");
    const PageStructure s = Scan(page);
    EXPECT_EQ(Text(page, s.regions[0].codeBegin, s.regions[0].codeEnd), "var a = ");
    EXPECT_EQ(Text(page, s.regions[2].codeBegin, s.regions[2].codeEnd), ";");
    EXPECT_EQ(s.regions[3].codeBegin, s.regions[3].codeEnd);  // all start tag
    EXPECT_EQ(Text(page, s.regions[5].codeBegin, s.regions[5].codeEnd), "p{}");
    // No element: another tag, one in an HTML comment, an end tag in a block.
    EXPECT_EQ(Layout("<scripts><!-- <script> --><p>"), "H[<scripts><!-- <script> --><p>]");
    EXPECT_EQ(Layout("<script><% x = \"</script>\" %></script>"),
              "C[<script>]S[<% x = \"</script>\" %>]C[</script>]");
}

TEST(PageStructure, ElementWithoutItsEndTagTakesTheRestAndIsReported)
{
    EXPECT_EQ(Layout("a<script>x<%y%>"), "H[a]C[<script>x]S[<%y%>]");
    EXPECT_EQ(ProblemKinds(Scan("a<script>x")), std::vector{PageProblemKind::UnterminatedElement});
    EXPECT_EQ(ProblemKinds(Scan("<script runat=server>x")),
              std::vector{PageProblemKind::UnterminatedElement});
    EXPECT_EQ(Layout("<style"), "C[<style]");
}

TEST(PageStructure, ProceduresInEveryFormWithTheirRanges)
{
    const std::string page = "<%\r\n"
                             "  Public Default Function Total(a, b) ' sums\r\n"
                             "    Total = a + b\r\n"
                             "  End Function ' done\r\n"
                             "private sub  Show\r\nEND  SUB\r\n"
                             "x = 1 : Property Let Name(v) : End Property : y = 2\r\n"
                             "%>";
    const PageStructure s = Scan(page);
    ASSERT_EQ(s.procedures.size(), 3u);
    EXPECT_EQ(s.procedures[0].kind, ProcedureKind::Function);
    EXPECT_EQ(s.procedures[0].name, "Total");
    EXPECT_EQ(s.procedures[0].head, "Public Default Function Total(a, b)");
    EXPECT_EQ(s.procedures[0].line, 2);
    EXPECT_EQ(
        Text(page, s.procedures[0].begin, s.procedures[0].end),
        "  Public Default Function Total(a, b) ' sums\r\n    Total = a + b\r\n  End Function ' done\r\n");
    EXPECT_EQ(s.procedures[1].kind, ProcedureKind::Sub);
    EXPECT_EQ(Text(page, s.procedures[1].begin, s.procedures[1].end), "private sub  Show\r\nEND  SUB\r\n");
    EXPECT_EQ(s.procedures[2].kind, ProcedureKind::PropertyLet);
    EXPECT_EQ(Text(page, s.procedures[2].begin, s.procedures[2].end), "Property Let Name(v) : End Property");
    EXPECT_TRUE(s.problems.empty());
}

TEST(PageStructure, ProcedureSpanningBlocksTakesTheHtmlBetween)
{
    const std::string page = "<% Sub Header() %>\r\n<table></table>\r\n<% End Sub %>\r\n<% Header %>";
    const PageStructure s = Scan(page);
    ASSERT_EQ(s.procedures.size(), 1u);
    EXPECT_EQ(s.procedures[0].head, "Sub Header()");
    EXPECT_EQ(Text(page, s.procedures[0].begin, s.procedures[0].end),
              "Sub Header() %>\r\n<table></table>\r\n<% End Sub");
}

TEST(PageStructure, ClassTakesItsMembersAndEachKindIsKnown)
{
    const std::string page =
        "<script runat=server>\nClass Cart\n Private Sub Class_Initialize()\n End Sub\n"
        " Public Property Get Count\n End Property\n Property Set Item(o)\n End Property\n"
        "End Class\nFunction [set](a)\nEnd Function\n</script>";
    const PageStructure s = Scan(page);
    ASSERT_EQ(s.procedures.size(), 2u);
    EXPECT_EQ(s.procedures[0].kind, ProcedureKind::Class);
    EXPECT_EQ(s.procedures[0].name, "Cart");
    EXPECT_EQ(s.procedures[0].line, 2);
    EXPECT_EQ(s.procedures[1].name, "[set]");
    EXPECT_TRUE(s.problems.empty());
}

TEST(PageStructure, WordsThatAreNoHeads)
{
    const std::string page =
        "<% x = Function1()\r\nExit Function\r\nEnd Function\r\ns = \"Sub A\" ' Function B\r\nRem Sub C\r\n"
        "x = a _\r\n  Sub B\r\nDim Function2 : Public Const Sub3 = 1\r\n%>"
        "<p>Sub D</p><script>function e() {}</script>";
    const PageStructure s = Scan(page);
    EXPECT_TRUE(s.procedures.empty());
    ASSERT_EQ(ProblemKinds(s), std::vector{PageProblemKind::UnmatchedEnd});
    EXPECT_EQ(s.problems[0].line, 3);
}

TEST(PageStructure, ProcedureWithoutItsEndIsReportedAndNotListed)
{
    const std::string page = "<%\nFunction A()\nFunction B()\nEnd Function\nClass C\nSub D\nEnd Class\n"
                             "Sub E\nEnd Function\nSub F\n%>";
    const PageStructure s = Scan(page);
    ASSERT_EQ(s.procedures.size(), 3u);
    EXPECT_EQ(s.procedures[0].name, "B");
    EXPECT_EQ(s.procedures[1].name, "C");
    EXPECT_EQ(s.procedures[2].name, "E");
    ASSERT_EQ(ProblemKinds(s),
              (std::vector{PageProblemKind::UnterminatedProcedure, PageProblemKind::UnterminatedProcedure,
                           PageProblemKind::MismatchedEnd, PageProblemKind::UnterminatedProcedure}));
    EXPECT_EQ(s.problems[0].line, 2);
    EXPECT_EQ(s.problems[1].line, 6);
    EXPECT_EQ(s.problems[3].message, "Sub F 没有对应的 End Sub，不作为过程列出");
}

TEST(PageStructure, GbkCharactersAreReadWhole)
{
    // "\x81]" is one GBK character whose second byte is ']'.
    const std::string page = "<% Sub [a\x81]b]()\r\nEnd Sub %>";
    EXPECT_EQ(Scan(page, true).procedures.at(0).name, "[a\x81]b]");
    const PageStructure s = Scan(Gbk("<% Function 合计()\r\nEnd Function\r\nFunction 缺()\r\n%>"), true);
    EXPECT_EQ(s.procedures.at(0).name, Gbk("合计"));
    ASSERT_EQ(s.problems.size(), 1u);
    EXPECT_EQ(s.problems[0].message, "Function 缺 没有对应的 End Function，不作为过程列出");
}

TEST(PageStructure, VBScriptOnlyKeepsServerCodeAndLineBreaks)
{
    const std::string page = "<%@ CodePage=936 %>\r\n<p>\r<%= a %><% Dim b %></p>\n"
                             "<script runat=server>Dim c</script><script>var d</script>";
    const std::string only = VBScriptOnly(page, Scan(page));
    const auto blanks = [](size_t n) { return std::string(n, ' '); };
    EXPECT_EQ(only, blanks(19) + "\r\n" + blanks(3) + "\r" + blanks(8) + "   Dim b   " + blanks(4) + "\n"
                        + blanks(21) + "Dim c" + blanks(9 + 22));
}

// Pages of one unit repeated: each is scanned whole and consistently. Their
// speed (a rescan per unit would take minutes) is measured by
// bench/page_structure_bench.cpp.
TEST(PageStructure, PathologicalPagesScanWhole)
{
    for (const std::string unit : {"<!--#include file=\"", "<!--#include file=x", "<script a=\"", "<script>",
                                   "<!-- x", "<% \"", "<% Sub a\r\n"}) {
        std::string page;
        while (page.size() < (1u << 16))
            page += unit;
        Scan(page);
    }
    for (const std::string unit : {"End Sub:", "Sub a:", "Sub a() ' x", "Class C:Sub a:"}) {
        std::string page = "<%";
        while (page.size() < (1u << 16))
            page += unit;
        Scan(page);
    }
}
