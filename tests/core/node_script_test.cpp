#include "editor/keyword_store.h"
#include "editor/page_colouring.h"
#include "gbk_literal.h"
#include "project/node_script.h"
#include "project/project_tree.h"
#include "text/byte_string.h"
#include "text/line_split.h"

#include <gtest/gtest.h>

using namespace qasp;

namespace {

// Each line's script as the line alone gives it, from the state the page
// colouring reaches at the line's start, joined as the page's lines are.
std::string ScriptLineByLine(std::string_view page, TextEncoding encoding)
{
    KeywordStore store(":memory:");
    std::vector<ColourSpan> spans;
    PageState state;
    std::string out;
    bool first = true;
    for (std::string_view line : SplitTextLines(page)) {
        if (!first)
            out += "\r\n";
        first = false;
        out += ScriptOfLine(line, state, encoding);
        spans.clear();
        state = ColourPageLine(line, state, store, encoding, spans);
    }
    return out;
}

std::string ScriptOfDocument(const std::string &page, TextEncoding encoding)
{
    ProjectTree tree;
    TreeNode *doc = tree.AddTopLevel("page.asp");
    TTreeRec record(page, {}, encoding);
    tree.AttachRecord(doc, std::move(record));
    return ScriptOfNode(*doc, page);
}

}  // namespace

// Leaving a changed line scans that line alone, from where the colouring
// says it starts; on every line that must give what scanning the whole page
// gives, or a declaration would be missed or read out of HTML.
TEST(ScriptOfLine, AgreesWithTheWholePageLineByLine)
{
    const char *const pages[] = {
        "<html>\r\n<% Dim a, b %>\r\n<p>Dim notCode</p>\r\n<%\r\nDim c\r\nConst K = 1\r\n%>\r\nDim html",
        "<%@ Language=VBScript CodePage=936 %>\r\n<%\r\nDim s : s = \"%> still a string\"\r\nDim t\r\n%>",
        "<% ' a comment ends the block here %>\r\nDim outside\r\n<% Dim inside",
        "<script runat=\"server\" language=\"vbscript\">\r\nDim server\r\n</script>\r\nDim after",
        "<script language=\"JScript\" runat=\"server\">\r\nDim notVb\r\n</script>",
        "<script type=\"text/javascript\">\r\nDim client\r\n</script>\r\n<% Dim real %>",
        "<a href=\"x.asp?id=<%= id %>\r\n&p=1\">Dim attr</a>\r\n<!-- <% Dim commented %> -->",
        "<!--\r\nDim inComment\r\n-->\r\n<p><%= Now %></p>",
        "<%\r\nFunction F(a, b)\r\nDim local\r\nEnd Function\r\n%>",
    };
    for (const char *page : pages) {
        EXPECT_EQ(ScriptLineByLine(page, TextEncoding::Gbk), ScriptOfDocument(page, TextEncoding::Gbk))
            << page;
    }
}

TEST(ScriptOfLine, AUtf8LineComesInTheStoresCodePage)
{
    const std::string line = "Const TITLE = \"新闻\"";
    PageState code;
    code.server = true;
    EXPECT_EQ(ScriptOfLine(line, code, TextEncoding::Utf8), Gbk(line));
    EXPECT_EQ(Trim(ScriptOfLine(line, PageState{}, TextEncoding::Utf8)), "");
}
