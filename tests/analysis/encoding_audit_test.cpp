// Each encoding conflict on a small site written to a scratch folder: found
// at its file, line and column, once however many pages lead to it, and a
// consistent site left alone.
#include "analysis/check_messages.h"
#include "analysis/encoding_audit.h"
#include "gbk_literal.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qasp::analysis {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

struct Case {
    const char *name;
    Files files;           // the .asp files not below inc/ are the pages
    std::string expected;  // "file:line:column code" per finding, ' ' between
};

std::string Listing(const Files &files, std::string *arguments = nullptr)
{
    testing::ScratchDir dir("encoding_audit");
    for (const auto &[name, bytes] : files) {
        std::filesystem::create_directories((dir / name).parent_path());
        testing::WriteAll(dir / name, bytes);
    }
    EncodingAudit audit;
    for (const auto &[name, bytes] : files)
        if (name.ends_with(".asp") && !name.starts_with("inc/"))
            audit.AddPage(dir / name, SiteRoot(dir.Path()));
    std::string out;
    for (const vbs::Diagnostic &d : audit.Findings()) {
        if (!out.empty())
            out += ' ';
        out += audit.Shown(d.file) + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + " "
               + DiagnosticCode(d);
        if (arguments)
            *arguments += d.argument + ";";
    }
    return out;
}

class EncodingConflicts : public ::testing::TestWithParam<Case> {};

TEST_P(EncodingConflicts, AreFoundWhereTheyAre)
{
    EXPECT_EQ(Listing(GetParam().files), GetParam().expected);
}

const std::string kUtf8Directive = "<%@ CodePage=65001 %>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Sites, EncodingConflicts,
    ::testing::Values(
        // A GBK include in a UTF-8 page: placed where its Chinese starts.
        Case{"include_in_other_encoding",
             {{"a.asp", kUtf8Directive + "<!--#include file=\"inc/gbk.asp\"-->\r\n<p>中文</p>"},
              {"inc/gbk.asp", Gbk("<p>标题栏目</p>")}},
             "inc/gbk.asp:1:4 include-encoding"},
        // A page without a directive is read by the server's one code page:
        // its own bytes and its includes' must agree.
        Case{"include_differs_from_undeclared_page",
             {{"a.asp", Gbk("<!--#include file=\"inc/u.asp\"-->\n<p>中文标题</p>")},
              {"inc/u.asp", "<p>中文标题</p>"}},
             "inc/u.asp:1:4 include-encoding"},
        // A Western letter in a UTF-8 page's include: not taken for GBK, but
        // not UTF-8 either.
        Case{"include_in_no_known_encoding",
             {{"a.asp", kUtf8Directive + "<!--#include file=\"inc/w.asp\"-->"},
              {"inc/w.asp", "<% ' (c) Tu\xF0rul %>"}},
             "inc/w.asp:1:12 include-encoding"},
        // The directive says GBK over UTF-8 bytes: the page itself is misread.
        Case{"directive_disagrees_with_bytes",
             {{"a.asp", "<%@ CodePage=936 %>\n<p>欢迎光临</p>"}},
             "a.asp:1:1 declaration-mismatch"},
        Case{"charset_disagrees_with_bytes",
             {{"a.asp", Gbk("<%\nResponse.Charset = \"utf-8\"\n%>\n<p>中文标题内容</p>")}},
             "a.asp:2:1 declaration-mismatch"},
        // ASCII bytes suit either: only the charset against the code page.
        Case{"charset_disagrees_with_code_page",
             {{"a.asp", kUtf8Directive + "<head><meta charset=\"gb2312\"></head>"}},
             "a.asp:2:7 charset-mismatch"},
        // A literal Response.CodePage decides what is sent, not the directive.
        Case{"charset_against_response_code_page",
             {{"a.asp", kUtf8Directive + "<% Response.CodePage = 936\r\nResponse.Charset = \"utf-8\" %>"}},
             "a.asp:3:1 charset-mismatch"},
        Case{"session_code_page_left_set",
             {{"a.asp", "<% Session.CodePage = 65001 %>"}},
             "a.asp:1:4 session-codepage"},
        Case{
            "session_code_page_restored",
            {{"a.asp", "<% saved = Session.CodePage\nSession.CodePage = 65001\nSession.CodePage = saved %>"}},
            ""},
        Case{"byte_order_mark_in_include",
             {{"a.asp", "<!--#include file=\"inc/b.asp\"-->"}, {"inc/b.asp", "\xEF\xBB\xBFhello"}},
             "inc/b.asp:1:1 include-bom"},
        // UTF-8 with a stray byte: invalid in both, counted in UTF-8 as it
        // declares.
        Case{"invalid_bytes", {{"a.asp", kUtf8Directive + "<p>中文\xFF</p>"}}, "a.asp:2:6 invalid-bytes"},
        Case{"consistent_gbk_site",
             {{"a.asp", Gbk("<%@ CodePage=936 %>\r\n<!--#include file=\"inc/h.asp\"-->\r\n<p>首页</p>")},
              {"b.asp", Gbk("<%@ CodePage=936 %>\r\n<!--#include file=\"inc/h.asp\"-->\r\n<p>新闻</p>")},
              {"inc/h.asp", Gbk("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                                "<title>网站标题</title>\r\n<% Response.Charset = \"gb2312\" %>")}},
             ""}),
    [](const ::testing::TestParamInfo<Case> &param) { return std::string(param.param.name); });

TEST(EncodingAudit, AnIncludeOfManyPagesIsOneFindingNamingThem)
{
    std::string arguments;
    EXPECT_EQ(Listing({{"a.asp", kUtf8Directive + "<!--#include file=\"inc/g.asp\"-->"},
                       {"b.asp", kUtf8Directive + "<!--#include file=\"inc/g.asp\"-->"},
                       {"c.asp", kUtf8Directive + "<!--#include file=\"inc/g.asp\"-->"},
                       {"inc/g.asp", Gbk("<p>网站标题</p>")}},
                      &arguments),
              "inc/g.asp:1:4 include-encoding");
    EXPECT_EQ(arguments, "GBK, read as UTF-8 by a.asp and 2 other pages;");
}

TEST(EncodingAudit, FactsOfEachFile)
{
    testing::ScratchDir dir("encoding_facts");
    testing::WriteAll(dir / "a.asp", Gbk("<%@ CodePage=936 %>\n<% Response.Charset = \"gbk\" %>中文"));
    EncodingAudit audit;
    const PageEncoding &page = audit.AddPage(dir / "a.asp", SiteRoot(dir.Path()));
    EXPECT_EQ(page.codePage, TextEncoding::Gbk);
    EXPECT_EQ(page.source, CodePageSource::Directive);
    const FileEncodingFacts &facts = audit.Facts(page.page);
    EXPECT_EQ(facts.bytes.form, ByteForm::Gbk);
    ASSERT_EQ(facts.declarations.size(), 2u);
    EXPECT_EQ(facts.declarations[1].kind, DeclarationKind::ResponseCharset);
    EXPECT_EQ(facts.declarations[1].value, "gbk");
}

}  // namespace
}  // namespace qasp::analysis
