// A hand-made GBK site moved to UTF-8 and back: every file valid UTF-8 with
// the same text in between, the very same bytes at the end; and a plan that
// refuses, or whose files changed meanwhile, writes nothing.
#include "convert/site_conversion.h"

#include "analysis/encoding_audit.h"
#include "gbk_literal.h"
#include "project/write_error.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <map>

namespace qasp::convert {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::ScratchDir;

const testing::SiteFiles &GbkSite()
{
    static const testing::SiteFiles site = {
        {"global.asa", Gbk("<SCRIPT LANGUAGE=VBScript RUNAT=Server>\r\nSub Session_OnStart\r\n' 会话开始\r\n"
                           "Session.CodePage = 936\r\nEnd Sub\r\n</SCRIPT>\r\n")},
        {"index.asp", Gbk("<%@ Language=VBScript CodePage=936 %>\r\n<!--#include file=\"inc/head.asp\"-->\r\n"
                          "<!--#include file=\"inc/util.asp\"-->\r\n"
                          "<% Response.Charset = \"gb2312\" %>\r\n<p>欢迎光临本站</p>\r\n")},
        {"news/list.asp", Gbk("<%@ CodePage=936 %>\n<!--#include virtual=\"/inc/head.asp\"-->\n"
                              "<% s = \"新闻列表：“引号”、【括号】\" %>\n<%= s %>\n")},
        {"inc/head.asp", Gbk("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
                             "<title>网站首页</title>\r\n")},
        {"inc/util.asp", "<% Function Add(a, b) : Add = a + b : End Function %>\r\n"},
    };
    return site;
}

std::map<std::string, std::string> Snapshot(const fs::path &root)
{
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = ReadAll(entry.path());
    return files;
}

ConversionPlan Plan(const fs::path &root, TextEncoding to, ConversionOptions options = {})
{
    options.target = to;
    return PlanConversion({root}, options);
}

TEST(SiteConversion, GbkSiteToUtf8AndBackGivesTheSameBytes)
{
    ScratchDir dir("convert_round_trip");
    testing::MakeSite(dir.Path(), GbkSite());
    const auto original = Snapshot(dir.Path());

    const ConversionPlan there = Plan(dir.Path(), TextEncoding::Utf8);
    ASSERT_TRUE(there.CanRun()) << there.refusals.front().file << ": " << there.refusals.front().message;
    EXPECT_EQ(there.files.size(), 5u);
    EXPECT_EQ(there.ChangedFiles(), 4u);  // the ASCII include declares nothing
    EXPECT_EQ(there.DeclarationChanges(), 5u);
    for (const PlannedFile &f : there.files)
        EXPECT_TRUE(f.comesBack) << f.shown;
    RunConversion(there);

    for (const auto &[name, bytes] : Snapshot(dir.Path())) {
        const ByteEvidence evidence = SurveyBytes(bytes);
        EXPECT_EQ(evidence.invalidUtf8, 0u) << name;
        // The same text, but for the declarations' values.
        std::u16string before = Decode(TextEncoding::Gbk, original.at(name));
        std::string expected = Encode(TextEncoding::Utf8, before);
        for (const auto &[from, to] :
             {std::pair{"=936", "=65001"}, std::pair{"= 936", "= 65001"}, std::pair{"gb2312", "utf-8"}})
            for (size_t at = expected.find(from); at != std::string::npos; at = expected.find(from, at + 1))
                expected.replace(at, std::string_view(from).size(), to);
        EXPECT_EQ(bytes, expected) << name;
    }
    // Nothing left for the audit to find.
    analysis::EncodingAudit audit;
    for (const char *page : {"index.asp", "news/list.asp"})
        audit.AddPage(dir / page, SiteRoot(dir.Path()));
    EXPECT_TRUE(audit.Findings().empty());

    const ConversionPlan back = Plan(dir.Path(), TextEncoding::Gbk);
    ASSERT_TRUE(back.CanRun());
    RunConversion(back);
    EXPECT_EQ(Snapshot(dir.Path()), original);
}

// The server reads a page without a CodePage by its default code page,
// which cannot be right for both encodings: the page that runs gets one,
// its include none.
TEST(SiteConversion, PageWithoutCodePageGetsOne)
{
    ScratchDir dir("convert_directive");
    testing::MakeSite(dir.Path(), {{"global.asa", ""},
                                   {"a.asp", Gbk("<!--#include file=\"b.asp\"-->\r\n<p>中文</p>\r\n")},
                                   {"b.asp", Gbk("<p>标题</p>")}});
    RunConversion(Plan(dir.Path(), TextEncoding::Utf8));
    EXPECT_EQ(ReadAll(dir / "a.asp"), "<%@CodePage=65001%><!--#include file=\"b.asp\"-->\r\n<p>中文</p>\r\n");
    EXPECT_EQ(ReadAll(dir / "b.asp"), "<p>标题</p>");
}

// Going back, a charset is spelled gb2312: a site that wrote "gbk" is told
// which files will not come back byte for byte.
TEST(SiteConversion, TellsWhichFilesWouldNotComeBack)
{
    ScratchDir dir("convert_back");
    testing::MakeSite(dir.Path(), {{"global.asa", ""},
                                   {"a.asp", Gbk("<%@ CodePage=936 %><meta charset=\"gbk\">中")},
                                   {"b.asp", Gbk("<%@ CodePage=936 %><meta charset=\"gb2312\">中")}});
    const ConversionPlan plan = Plan(dir.Path(), TextEncoding::Utf8);
    std::map<std::string, bool> comesBack;
    for (const PlannedFile &f : plan.files)
        comesBack[f.shown] = f.comesBack;
    EXPECT_EQ(comesBack,
              (std::map<std::string, bool>{{"a.asp", false}, {"b.asp", true}, {"global.asa", true}}));
}

TEST(SiteConversion, RefusedPlanWritesNothing)
{
    ScratchDir dir("convert_refused");
    testing::SiteFiles site = GbkSite();
    site.push_back({"inc/head.asp", "<title>网站 😀</title>"});  // UTF-8 now, with what GBK lacks
    testing::MakeSite(dir.Path(), site);
    const auto original = Snapshot(dir.Path());
    const ConversionPlan plan = Plan(dir.Path(), TextEncoding::Gbk);
    ASSERT_EQ(plan.refusals.size(), 1u);
    EXPECT_EQ(plan.refusals[0].file, "inc/head.asp");
    EXPECT_EQ(plan.refusals[0].line, 1);
    EXPECT_THROW(RunConversion(plan), WriteError);
    EXPECT_EQ(Snapshot(dir.Path()), original);
}

TEST(SiteConversion, FileChangedSinceThePlanStopsTheRun)
{
    ScratchDir dir("convert_changed");
    testing::MakeSite(dir.Path(), GbkSite());
    const ConversionPlan plan = Plan(dir.Path(), TextEncoding::Utf8);
    testing::WriteAll(dir / "inc/head.asp", Gbk("<title>别人改过</title>\r\n"));
    const auto meanwhile = Snapshot(dir.Path());
    try {
        RunConversion(plan);
        FAIL() << "ran over a changed file";
    } catch (const WriteError &e) {
        EXPECT_NE(std::string(e.what()).find("inc/head.asp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Snapshot(dir.Path()), meanwhile);
}

TEST(SiteConversion, AmbiguousFileIsRefusedUntilNamed)
{
    ScratchDir dir("convert_ambiguous");
    testing::SiteFiles site = GbkSite();
    site.push_back({"about.htm", Gbk("<p>学习</p>")});  // D1 A7 CF B0 is valid UTF-8 too
    testing::MakeSite(dir.Path(), site);
    ConversionOptions options;
    options.allText = true;
    const ConversionPlan unsure = Plan(dir.Path(), TextEncoding::Utf8, options);
    ASSERT_EQ(unsure.refusals.size(), 1u);
    EXPECT_EQ(unsure.refusals[0].file, "about.htm");
    options.encodingOf[dir / "about.htm"] = TextEncoding::Gbk;
    const ConversionPlan named = Plan(dir.Path(), TextEncoding::Utf8, options);
    EXPECT_TRUE(named.CanRun());
    RunConversion(named);
    EXPECT_EQ(ReadAll(dir / "about.htm"), "<p>学习</p>");
}

TEST(SiteConversion, ByteFunctionsAreListedForReview)
{
    ScratchDir dir("convert_bytes");
    testing::MakeSite(dir.Path(), {{"global.asa", ""},
                                   {"a.asp", Gbk("<%@ CodePage=936 %>\n<% ' ChrB in a comment\n"
                                                 "x = \"MidB\" & ChrB(&HB0) & ChrB(&HA1)\n"
                                                 "Response.BinaryWrite x %>中")}});
    const ConversionPlan plan = Plan(dir.Path(), TextEncoding::Utf8);
    ASSERT_EQ(plan.warnings.size(), 1u);
    EXPECT_EQ(plan.warnings[0].line, 3);
    const std::string &message = plan.warnings[0].message;
    EXPECT_EQ(message.substr(0, message.find(':')), "ChrB on line 3, ChrB on line 3, BinaryWrite on line 4");
}

}  // namespace
}  // namespace qasp::convert
