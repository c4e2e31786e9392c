// One file moved between GBK and UTF-8: its text, its line ends and the rest
// of each declaration's line kept, and what cannot move refused by line.
#include "convert/file_conversion.h"

#include "gbk_literal.h"

#include <gtest/gtest.h>

namespace qasp::convert {
namespace {

FileConversion ToUtf8(const std::string &gbk, bool needsDirective = false)
{
    return ConvertFileText({gbk, TextEncoding::Gbk, TextEncoding::Utf8, FileKind::Page, needsDirective});
}

TEST(FileConversion, RewritesDeclarationsAndKeepsEverythingElse)
{
    const std::string page = "<%@ Language=VBScript CodePage=936 %>\r\n"
                             "<% Response.Charset = \"GB2312\" ' 中文注释\r\n"
                             "Session.CodePage = 936 : x = 1 %>\n"
                             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\r"
                             "<p>欢迎光临</p>";
    const FileConversion c = ToUtf8(Gbk(page));
    ASSERT_TRUE(c.refusals.empty());
    EXPECT_EQ(c.bytes, "<%@ Language=VBScript CodePage=65001 %>\r\n"
                       "<% Response.Charset = \"UTF-8\" ' 中文注释\r\n"
                       "Session.CodePage = 65001 : x = 1 %>\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r"
                       "<p>欢迎光临</p>");
    ASSERT_EQ(c.changes.size(), 4u);
    EXPECT_EQ(c.changes[1].line, 2);
    EXPECT_EQ(c.changes[1].before, "GB2312");
    EXPECT_EQ(c.changes[3].line, 4);
    EXPECT_EQ(ToUtf8("<% Response.AddHeader \"Content-Type\", \"text/html; charset=gb2312\" %>").bytes,
              "<% Response.AddHeader \"Content-Type\", \"text/html; charset=utf-8\" %>");
    // And back to the very bytes it came from.
    const FileConversion back =
        ConvertFileText({c.bytes, TextEncoding::Utf8, TextEncoding::Gbk, FileKind::Page, false});
    EXPECT_EQ(back.bytes, Gbk(page));
}

TEST(FileConversion, ByteOrderMarkKeptOnlyWhereItWas)
{
    const FileConversion kept = ConvertFileText(
        {"\xEF\xBB\xBF<p>中</p>", TextEncoding::Utf8, TextEncoding::Utf8, FileKind::Page, false});
    EXPECT_EQ(kept.bytes, "\xEF\xBB\xBF<p>中</p>");
    EXPECT_EQ(ToUtf8(Gbk("<p>中</p>")).bytes, "<p>中</p>");
    const FileConversion dropped = ConvertFileText(
        {"\xEF\xBB\xBF<p>中</p>", TextEncoding::Utf8, TextEncoding::Gbk, FileKind::Page, false});
    EXPECT_EQ(dropped.bytes, Gbk("<p>中</p>"));
    EXPECT_EQ(dropped.notes.size(), 1u);
}

TEST(FileConversion, PageWithoutCodePageGetsOneWithoutANewLine)
{
    EXPECT_EQ(ToUtf8(Gbk("<p>中</p>\r\n"), true).bytes, "<%@CodePage=65001%><p>中</p>\r\n");
    EXPECT_EQ(ToUtf8(Gbk("<%@ Language=VBScript %>\r\n<p>中</p>"), true).bytes,
              "<%@ Language=VBScript CodePage=65001 %>\r\n<p>中</p>");
    EXPECT_EQ(ToUtf8(Gbk("<%@Language=VBScript%><p>中</p>"), true).bytes,
              "<%@Language=VBScript CodePage=65001%><p>中</p>");
    // An include gets none: a directive is the running page's alone.
    EXPECT_EQ(ToUtf8(Gbk("<p>中</p>"), false).bytes, "<p>中</p>");
}

TEST(FileConversion, RefusesWhatCannotMoveFaithfully)
{
    // UTF-8 characters GBK does not have, named with their lines.
    const FileConversion unwritable =
        ConvertFileText({"<p>a</p>\n<p>€ ok 中</p>\r\n<p>😀</p>\n<p>😀</p>", TextEncoding::Utf8,
                         TextEncoding::Gbk, FileKind::Page, false});
    ASSERT_EQ(unwritable.refusals.size(), 1u);
    EXPECT_EQ(unwritable.refusals[0].line, 3);
    EXPECT_EQ(unwritable.refusals[0].message, "'😀' (U+1F600) cannot be written in GBK (also on 1 more line)");
    // A byte that is no GBK character.
    const FileConversion invalid = ToUtf8(Gbk("第一行\n第二") + "\xFF");
    ASSERT_EQ(invalid.refusals.size(), 1u);
    EXPECT_EQ(invalid.refusals[0].line, 2);
    // Valid UTF-8 for a code point the editor keeps for unreadable bytes.
    const FileConversion escape =
        ConvertFileText({"x\xEF\x9E\x80", TextEncoding::Utf8, TextEncoding::Gbk, FileKind::Page, false});
    EXPECT_EQ(escape.refusals.size(), 1u);
}

TEST(FileConversion, StyleSheetCharsetAndUnknownDeclarations)
{
    EXPECT_EQ(ConvertFileText({Gbk("@charset \"gbk\";\n/* 中 */"), TextEncoding::Gbk, TextEncoding::Utf8,
                               FileKind::StyleSheet, false})
                  .bytes,
              "@charset \"utf-8\";\n/* 中 */");
    const FileConversion other = ToUtf8("<meta charset=\"iso-8859-1\">");
    EXPECT_EQ(other.bytes, "<meta charset=\"iso-8859-1\">");
    EXPECT_EQ(other.notes.size(), 1u);
}

}  // namespace
}  // namespace qasp::convert
