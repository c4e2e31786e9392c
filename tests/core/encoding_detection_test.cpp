#include "text/encoding_detection.h"

#include "gbk_literal.h"

#include <gtest/gtest.h>

using namespace qasp;

namespace {

// Chinese text that is not valid UTF-8 in GBK, and the same in UTF-8.
const std::string kGbkChinese = Gbk("欢迎访问本站");
const std::string kUtf8Chinese = "欢迎访问本站";

TextEncoding EncodingOf(std::string_view bytes)
{
    return DetectEncoding(bytes).encoding;
}

}  // namespace

TEST(EncodingDetection, ByteOrderMarkComesFirst)
{
    const DetectedEncoding d = DetectEncoding("\xEF\xBB\xBF<%@ CodePage=936 %>\xB0\xA1");
    EXPECT_EQ(d.encoding, TextEncoding::Utf8);
    EXPECT_TRUE(d.byteOrderMark);
    EXPECT_EQ(d.reason, "文件以 UTF-8 字节顺序标记开头，但有 2 个字节不是有效的 UTF-8");
    EXPECT_FALSE(DetectEncoding(kUtf8Chinese).byteOrderMark);
}

TEST(EncodingDetection, DirectiveCodePageInAnyWriting)
{
    for (const std::string utf8 : {R"(<%@LANGUAGE="VBSCRIPT" CODEPAGE="65001"%>)", "<%@ codepage = 65001 %>",
                                   "<%@ language=\"VBScript\" @codepage='65001'%>",
                                   "<%@\tLanguage=VBScript\r\n\tCodePage=65001\r\n%>"}) {
        EXPECT_EQ(EncodingOf(utf8 + "\r\n" + kGbkChinese), TextEncoding::Utf8) << utf8;
    }
    const DetectedEncoding gbk = DetectEncoding("<%@ Language=VBScript CodePage=936 %>\r\n" + kUtf8Chinese);
    EXPECT_EQ(gbk.encoding, TextEncoding::Gbk);
    EXPECT_EQ(gbk.reason, "页面指令声明 CodePage=936，但内容是有效的 UTF-8");
    // Code pages the editor does not read are no declaration: the text decides.
    EXPECT_EQ(EncodingOf("<%@ CodePage=1252 %>" + kUtf8Chinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<%@ Language=VBScript %>" + kUtf8Chinese), TextEncoding::Utf8);
}

TEST(EncodingDetection, CodeThatSetsTheCodePageOrCharset)
{
    EXPECT_EQ(EncodingOf("<%\r\nResponse.CodePage = 65001\r\n%>" + kGbkChinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<% session.codepage=65001 %>" + kGbkChinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<% Response.Charset = \"UTF-8\" %>" + kGbkChinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<% Response.CharSet=\"gb2312\" %>" + kGbkChinese), TextEncoding::Gbk);
    EXPECT_EQ(DetectEncoding("<% Session.CodePage = 65001 %>").reason, "代码设置 Session.CodePage = 65001");

    // Neither a commented-out setting, nor reading the value, nor another
    // object's Charset declares anything.
    for (const std::string code :
         {"<%\r\n' Response.CodePage = 936\r\n%>", "<% x = 1 ' Session.CodePage = 936 %>",
          "<%\r\nRem Response.CodePage = 936\r\n%>", "<% cp = Response.CodePage %>",
          "<% stream.Charset = \"gb2312\" %>", "<% Response.CodePage = bakCodePage %>"}) {
        EXPECT_EQ(EncodingOf(code + "<% Response.Charset = \"utf-8\" %>"), TextEncoding::Utf8) << code;
    }
    // An apostrophe inside a string, or in HTML before the script block, is no comment.
    EXPECT_EQ(EncodingOf("<% s = \"'\" : Response.CodePage = 936 %>" + kGbkChinese), TextEncoding::Gbk);
    EXPECT_EQ(EncodingOf("<a title='x'><% Response.CodePage = 936 %>" + kGbkChinese), TextEncoding::Gbk);
}

TEST(EncodingDetection, MetaCharsetInBothForms)
{
    EXPECT_EQ(EncodingOf("<meta charset=\"utf-8\">" + kGbkChinese), TextEncoding::Utf8);
    EXPECT_EQ(
        EncodingOf("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">" + kGbkChinese),
        TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<meta http-equiv=Content-Type content='text/html;charset=GB2312'>" + kGbkChinese),
              TextEncoding::Gbk);
    // Commented out, or after a comment has ended.
    EXPECT_EQ(EncodingOf("<!-- <meta charset=\"gbk\"> --><meta charset=\"utf-8\">"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<!-- <meta charset=\"gbk\">" + kUtf8Chinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<!-- a --><!-- b --><meta charset=\"gbk\">" + kGbkChinese), TextEncoding::Gbk);
    EXPECT_EQ(EncodingOf("<meta name=\"charset\" content=\"x\">" + kUtf8Chinese), TextEncoding::Utf8);
}

TEST(EncodingDetection, DeclarationsRankAndWinOverTheText)
{
    // The directive over the code, the code page over the charset, the code over <meta>.
    EXPECT_EQ(EncodingOf("<%@ CodePage=936 %><% Response.CodePage = 65001 %>"), TextEncoding::Gbk);
    EXPECT_EQ(EncodingOf("<% Response.Charset = \"utf-8\"\r\nResponse.CodePage = 936 %>"), TextEncoding::Gbk);
    EXPECT_EQ(EncodingOf("<meta charset=\"gbk\"><% Response.Charset = \"utf-8\" %>"), TextEncoding::Utf8);
    // Of the two code-page settings, the first in the page.
    EXPECT_EQ(EncodingOf("<% Session.CodePage = 936\r\nResponse.CodePage = 65001 %>"), TextEncoding::Gbk);

    // A GBK page whose few Chinese bytes are also valid UTF-8 ("目录" is C4 BF C2 BC, "Ŀ¼").
    EXPECT_EQ(EncodingOf(Gbk("目录")), TextEncoding::Utf8);  // what the guess alone says
    EXPECT_EQ(EncodingOf("<%@ CodePage=936 %>" + Gbk("目录")), TextEncoding::Gbk);

    // A UTF-8 page with one stray byte is still UTF-8, and says so.
    const DetectedEncoding utf8 = DetectEncoding("<%@ CodePage=65001 %>" + kUtf8Chinese + "\xFF");
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.reason, "页面指令声明 CodePage=65001，但有 1 个字节不是有效的 UTF-8");
}

// A UTF-8 page whose code writes another page with a GBK charset deep
// inside stays UTF-8: past the directive, valid UTF-8 Chinese is stronger
// evidence than a declaration, which is reported as disagreeing.
TEST(EncodingDetection, ValidUtf8IsNotOverruledByADeclarationDeeperIn)
{
    std::string page = "<!--#include file=\"conn.asp\"-->\r\n<%\r\n' " + kUtf8Chinese + "\r\n";
    for (int line = 0; line < 1237; ++line)
        page += "x = x + 1\r\n";
    page += "Response.Write \"<meta http-equiv=Content-Type content='text/html; charset=gbk'>\"\r\n%>\r\n";
    const DetectedEncoding d = DetectEncoding(page);
    EXPECT_EQ(d.encoding, TextEncoding::Utf8);
    EXPECT_EQ(d.reason, "内容是有效的 UTF-8（<meta> 声明 charset=gbk，与内容不符，未采用）");
    EXPECT_EQ(EncodingOf("<% Response.CodePage = 936 %>" + kUtf8Chinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("<% Response.Charset = \"gb2312\" %>" + kUtf8Chinese), TextEncoding::Utf8);
}

TEST(EncodingDetection, WithoutDeclarationTheTextDecides)
{
    EXPECT_EQ(DetectEncoding(kUtf8Chinese).reason, "内容是有效的 UTF-8");
    EXPECT_EQ(EncodingOf(kUtf8Chinese), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf(kGbkChinese), TextEncoding::Gbk);
    EXPECT_EQ(EncodingOf("<% Response.Write 1 %>"), TextEncoding::Gbk);
    EXPECT_EQ(DetectEncoding("").reason, "内容只有 ASCII 字符");

    // GBK Chinese that is valid UTF-8 reads as letters of mixed scripts
    // ("学习" as "ѧϰ", Cyrillic then Greek) and stays GBK; text in one script
    // stays UTF-8, and so does anything with CJK in it.
    EXPECT_EQ(EncodingOf("' " + Gbk("学习") + "\r\n"), TextEncoding::Gbk);
    EXPECT_EQ(DetectEncoding("x = \"" + Gbk("前缀") + "\"").reason, "内容虽是有效的 UTF-8，但更像 GBK 中文");
    for (const std::string utf8 :
         {"Menedżer plików ©", "«Привет, мир» ΑΒΓ", "שלום", "Kôд jезик je Српски језик", "ѧϰ 中文"})
        EXPECT_EQ(EncodingOf(utf8), TextEncoding::Utf8) << utf8;

    // Declarations count in the first 64 KiB only; validity over the whole text.
    const std::string filler(size_t{70} * 1024, ' ');
    EXPECT_EQ(EncodingOf(filler + "<%@ CodePage=65001 %>" + kGbkChinese), TextEncoding::Gbk);
    EXPECT_EQ(EncodingOf(kUtf8Chinese + filler + "\xB0"), TextEncoding::Gbk);
}
