// Declarations are found where the server and the browser read them, with
// the exact bytes of their values, and nowhere else.
#include "site/encoding_declarations.h"

#include <gtest/gtest.h>

#include <string>

namespace qasp {
namespace {

// "Kind=value@line" for each declaration found, ' ' between; a value that
// is not a literal is marked with '~'.
std::string Found(std::string_view page)
{
    std::string out;
    for (const EncodingDeclaration &d : FindEncodingDeclarations(page, ScanPageStructure(page, false))) {
        EXPECT_EQ(page.substr(d.valueBegin, d.valueEnd - d.valueBegin), d.value);
        if (!out.empty())
            out += ' ';
        out += std::string(DeclarationKindName(d.kind)) + "=" + (d.literal ? "" : "~") + d.value;
    }
    return out;
}

TEST(EncodingDeclarations, EachKindWithItsValue)
{
    EXPECT_EQ(Found("<%@ Language=VBScript CODEPAGE=\"936\" %>\r\n"), "<%@ CodePage %>=936");
    EXPECT_EQ(Found("<%\r\nResponse.CodePage = 65001\r\nSession.CodePage=936\r\n"
                    "Response.Charset = \"GB2312\"\r\n%>"),
              "Response.CodePage=65001 Session.CodePage=936 Response.Charset=GB2312");
    EXPECT_EQ(Found("<head><meta charset=\"utf-8\">\n<META HTTP-EQUIV=\"Content-Type\" "
                    "CONTENT=\"text/html; charset=gb2312\"></head>"),
              "<meta charset>=utf-8 <meta charset>=gb2312");
    // The charset of a Content-Type sent, in either spelling.
    EXPECT_EQ(Found("<% Response.ContentType = \"text/html; charset=GB2312\"\r\n"
                    "Response.AddHeader \"Content-Type\", \"text/html;charset=utf-8\"\r\n"
                    "Response.AddHeader \"X-Note\", \"charset=gbk\" %>"),
              "Content-Type charset=GB2312 Content-Type charset=utf-8");
    // A statement after ':' or Then is still a statement; a value kept in a
    // variable is not a literal.
    EXPECT_EQ(Found("<% x = 1 : Session.CodePage = old %><% If a Then Response.CodePage = 936 %>"),
              "Session.CodePage=~old Response.CodePage=936");
}

TEST(EncodingDeclarations, NotInCommentsStringsOrComparisons)
{
    EXPECT_EQ(Found("<%\n' Response.CodePage = 936\nRem Session.CodePage = 936\n"
                    "s = \"Response.Charset = \"\"gbk\"\"\"\nIf Session.CodePage = 936 Then\nx = "
                    "Response.CodePage\n%>"),
              "");
    EXPECT_EQ(Found("<!-- <meta charset=\"gbk\"> --><metadata charset=\"gbk\">"), "");
    // Server code is read in server blocks only; HTML is not code.
    EXPECT_EQ(Found("Response.CodePage = 936 <p>Session.CodePage = 65001</p>"), "");
}

TEST(EncodingDeclarations, StyleSheetCharsetOnlyFirst)
{
    const auto found = FindStyleSheetCharset("@charset \"GBK\";\nbody{}");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].value, "GBK");
    EXPECT_EQ(found[0].encoding, TextEncoding::Gbk);
    EXPECT_TRUE(FindStyleSheetCharset("body{}\n@charset \"GBK\";").empty());
}

TEST(EncodingDeclarations, ValuesNameTheOtherEncodingInTheSameLetterCase)
{
    const auto value = [](DeclarationKind kind, const std::string &written, TextEncoding to) {
        EncodingDeclaration d{kind, 0, 0, written.size(), written, true, CharsetEncoding(written)};
        return DeclarationValueFor(d, to);
    };
    EXPECT_EQ(value(DeclarationKind::MetaCharset, "gb2312", TextEncoding::Utf8), "utf-8");
    EXPECT_EQ(value(DeclarationKind::MetaCharset, "GB2312", TextEncoding::Utf8), "UTF-8");
    EXPECT_EQ(value(DeclarationKind::ResponseCharset, "UTF-8", TextEncoding::Gbk), "GB2312");
    EXPECT_EQ(value(DeclarationKind::Directive, "936", TextEncoding::Utf8), "65001");
    EXPECT_EQ(value(DeclarationKind::SessionCodePage, "65001", TextEncoding::Gbk), "936");
}

}  // namespace
}  // namespace qasp
