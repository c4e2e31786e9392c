#include "text/byte_string.h"
#include "text/function_name.h"
#include "text/line_ends.h"
#include "text/line_split.h"

#include <gtest/gtest.h>

using namespace qasp;
using Lines = std::vector<std::string>;

namespace {

// Every line the file rule reads from `bytes`.
Lines SplitFileLines(std::string_view bytes)
{
    Lines lines;
    FileLineReader reader(bytes);
    for (std::string line; reader.Next(line);)
        lines.push_back(std::move(line));
    return lines;
}

}  // namespace

TEST(TextHelpers, TrimRemovesBlanksAndControlCharactersOnly)
{
    EXPECT_EQ(Trim(std::string("\t \x01 Dim a \r\x1f", 12)), "Dim a");
    EXPECT_EQ(TrimRight(" \tx \t"), " \tx");
    EXPECT_EQ(TrimLeft(" \tx \t"), "x \t");
    EXPECT_EQ(Trim("  \t "), "");
    // 0xA1A1 is the ideographic space: not a blank at byte level.
    EXPECT_EQ(Trim("\xA1\xA1x "), "\xA1\xA1x");
}

TEST(TextHelpers, LowerCasingTouchesAsciiLettersOnly)
{
    EXPECT_EQ(LowerAscii("Dim ABC_9"), "dim abc_9");
    // A GBK character whose second byte is 'L' (0x4C) keeps it.
    EXPECT_EQ(LowerAscii("\x81\x4C"
                         "A"),
              "\x81\x4C"
              "a");
    EXPECT_TRUE(EqualsNoCase("Response", "RESPONSE"));
    EXPECT_FALSE(EqualsNoCase("Respons", "Response"));
    EXPECT_TRUE(StartsWithNoCase("FUNCTION Foo", "function "));
}

TEST(LineSplit, FileLinesEndAtLfOrCrLfAndDropLoneCr)
{
    EXPECT_EQ(SplitFileLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitFileLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitFileLines("a\rb\r\n"), (Lines{"ab"}));
    EXPECT_EQ(SplitFileLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitFileLines(""), Lines{});
}

TEST(LineSplit, CtrlZEndsTheFile)
{
    EXPECT_EQ(SplitFileLines("a\r\nb\x1a"
                             "c\r\nd"),
              (Lines{"a", "b"}));
    EXPECT_EQ(SplitFileLines("\x1a"
                             "abc"),
              Lines{});
}

TEST(LineEnds, EachStyleAndTheirMixture)
{
    EXPECT_EQ(DetectLineEnds("a\r\nb\r\n"), LineEnds::CrLf);
    EXPECT_EQ(DetectLineEnds("a\nb"), LineEnds::Lf);
    EXPECT_EQ(DetectLineEnds("a\rb\r"), LineEnds::Cr);
    EXPECT_EQ(DetectLineEnds("a\r\nb\n"), LineEnds::Mixed);
    EXPECT_EQ(DetectLineEnds("a\r\nb\r"), LineEnds::Mixed);
    EXPECT_EQ(DetectLineEnds("\n\r"), LineEnds::Mixed);  // LF then CR: no CR LF among them
    EXPECT_EQ(DetectLineEnds("abc"), LineEnds::None);
    EXPECT_STREQ(LineEndsName(LineEnds::Mixed), "混合");
    EXPECT_STREQ(LineEndsName(LineEnds::CrLf), "CRLF");
}

TEST(LineSplit, FileLinesOfAnyLength)
{
    const std::string longLine(1 << 20, 'x');
    const Lines lines = SplitFileLines(longLine + "\r\nshort");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), longLine.size());
}

TEST(LineSplit, TextLinesBreakAtLoneCrToo)
{
    const auto lines = SplitTextLines("a\rb\nc\r\nd\r\n");
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), (Lines{"a", "b", "c", "d"}));
    EXPECT_TRUE(SplitTextLines("").empty());
    EXPECT_EQ(SplitTextLines("\r\n\r\nx").size(), 3u);
    EXPECT_EQ(JoinCrLf({"a", "", "b"}), "a\r\n\r\nb");
}

TEST(FunctionName, PrototypeAndBareName)
{
    EXPECT_EQ(ExtractFunctionName("  Function Foo(a, b)  ", false), "Foo(a, b)");
    EXPECT_EQ(ExtractFunctionName("FUNCTION Foo(a, b)", true), "Foo");
    EXPECT_EQ(ExtractFunctionName("NewFun(x)", true), "NewFun");
    EXPECT_EQ(ExtractFunctionName("index.asp", true), "index.asp");
    EXPECT_EQ(ExtractFunctionName("Function  Bar ()", true), "Bar");
    // "functionX" is no keyword: nine characters need the space.
    EXPECT_EQ(ExtractFunctionName("functionX(a)", true), "functionX");
}
