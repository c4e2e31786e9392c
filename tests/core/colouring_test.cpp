#include "editor/colour_table.h"
#include "editor/colouring.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "memory_editor.h"

#include <gtest/gtest.h>

using namespace qasp;
using qasp::testing::MemoryEditor;

namespace {

const ColourValue kBlack = 0x000000, kPurple = 0x800080, kBlue = 0xFF0000, kRed = 0x0000FF, kGreen = 0x008000,
                  kTeal = 0x808000, kSilver = 0xC0C0C0;

class ColouringTest : public ::testing::Test {
protected:
    ColouringTest()
    {
        store.ReplaceKeyword(KeywordTable::Public, "gTotal", "变量", kGlobalVariable);
        store.ReplaceKeyword(KeywordTable::Public, "ShowList", "ShowList(a)", kProjectFunction);
        store.ReplaceKeyword(KeywordTable::Public, "twice", "变量", kGlobalVariable);
        store.ReplaceKeyword(KeywordTable::Other, "twice", "变量", kLocalVariable);
        store.ReplaceKeyword(KeywordTable::Other, "item2", "变量", kLocalVariable);
        store.RefreshKeywords();
    }
    std::vector<ColourRun> Runs(std::string_view line) { return ColourLineRuns(line, store); }

    KeywordStore store{":memory:"};
};

}  // namespace

TEST(ColourTable, KeyTypesMapToTheSevenCategories)
{
    const ColourTable &t = BuildColourTable();
    EXPECT_EQ(t[0].Caption, "默认文字");
    EXPECT_EQ(t[6].Caption, "注释语句");
    const std::pair<int, ColourValue> expected[] = {{-1, kBlack}, {0, kBlue},   {1, kBlue},  {2, kRed},
                                                    {3, kRed},    {4, kGreen},  {5, kGreen}, {6, kTeal},
                                                    {7, kSilver}, {8, kPurple}, {9, 0},      {-2, 0}};
    for (const auto &[type, colour] : expected)
        EXPECT_EQ(ColourOfKeyType(type), colour) << type;
    EXPECT_EQ(HtmlColour(kBlue), "#0000FF");
    EXPECT_EQ(HtmlColour(kTeal), "#008080");
}

TEST(FirstToken, CommentMarkOrLeadingWord)
{
    EXPECT_EQ(FirstToken("  ' note"), "'");
    EXPECT_EQ(FirstToken("\tDim a"), "Dim");
    EXPECT_EQ(FirstToken("x = 'a'"), "x");
    EXPECT_EQ(FirstToken("  (a)"), "");
}

TEST_F(ColouringTest, WordsTakeTheColourOfTheirKeyType)
{
    EXPECT_EQ(Runs("If gTotal>item2 Then ShowList x"), (std::vector<ColourRun>{{kBlue, "If"},
                                                                               {kBlack, " "},
                                                                               {kRed, "gTotal"},
                                                                               {kBlack, ">"},
                                                                               {kGreen, "item2"},
                                                                               {kBlack, " "},
                                                                               {kBlue, "Then"},
                                                                               {kBlack, " "},
                                                                               {kTeal, "ShowList"},
                                                                               {kBlack, " "},
                                                                               {kBlack, "x"}}));
}

TEST_F(ColouringTest, StoredSpellingReplacesTheTypedOne)
{
    EXPECT_EQ(Runs("response.WRITE gtotal"),
              (std::vector<ColourRun>{
                  {kBlue, "Response"}, {kBlack, "."}, {kBlue, "Write"}, {kBlack, " "}, {kRed, "gTotal"}}));
}

TEST_F(ColouringTest, DigitInitialWordsStayPlainOthersWithDigitsAreLookedUp)
{
    EXPECT_EQ(Runs("9Left item2"),
              (std::vector<ColourRun>{{kBlack, "9Left"}, {kBlack, " "}, {kGreen, "item2"}}));
}

TEST_F(ColouringTest, ANameInTwoRowsStaysPlain)
{
    EXPECT_EQ(Runs("twice"), (std::vector<ColourRun>{{kBlack, "twice"}}));
}

TEST_F(ColouringTest, StringsRunToTheNextQuoteOrTheLineEnd)
{
    EXPECT_EQ(Runs("x=\"a b\"&Left(\"c"), (std::vector<ColourRun>{{kBlack, "x"},
                                                                  {kBlack, "="},
                                                                  {kPurple, "\"a b\""},
                                                                  {kBlack, "&"},
                                                                  {kBlue, "Left"},
                                                                  {kBlack, "("},
                                                                  {kPurple, "\"c"}}));
}

TEST_F(ColouringTest, ADoubledQuoteContinuesAsString)
{
    EXPECT_EQ(
        Runs("s=\"say \"\"hi\"\"\""),
        (std::vector<ColourRun>{
            {kBlack, "s"}, {kBlack, "="}, {kPurple, "\"say \""}, {kPurple, "\"hi\""}, {kPurple, "\"\""}}));
}

TEST_F(ColouringTest, OnlyALeadingApostropheMakesACommentLine)
{
    EXPECT_EQ(Runs("  ' Dim \"x\"  "), (std::vector<ColourRun>{{kSilver, "  ' Dim \"x\""}}));
    EXPECT_EQ(Runs("x ' Left"), (std::vector<ColourRun>{{kBlack, "x"}, {kBlack, " ' "}, {kBlue, "Left"}}));
}

TEST_F(ColouringTest, TrailingBlanksAreDropped)
{
    EXPECT_EQ(Runs("Dim a \t \r"), (std::vector<ColourRun>{{kBlue, "Dim"}, {kBlack, " "}, {kBlack, "a"}}));
    EXPECT_TRUE(Runs(" \t").empty());
}

TEST_F(ColouringTest, ChineseCharactersAreNeverCutIntoWords)
{
    // 0xB04C ends in the byte of 'L': read byte by byte, "Left" would appear.
    const std::string line = "a\xB0\x4C"
                             "eft \xD6\xD0gTotal";
    EXPECT_EQ(
        Runs(line),
        (std::vector<ColourRun>{
            {kBlack, "a"}, {kBlack, "\xB0\x4C"}, {kBlack, "eft"}, {kBlack, " \xD6\xD0"}, {kRed, "gTotal"}}));
    // A quote never hides in a character: 0x22 cannot be a second byte.
    EXPECT_EQ(Runs("\"\xD6\xD0\"x"), (std::vector<ColourRun>{{kPurple, "\"\xD6\xD0\""}, {kBlack, "x"}}));
}

TEST_F(ColouringTest, ColourTextKeepsEmptyLinesAndWritesEveryByteOnce)
{
    MemoryEditor editor;
    const std::string text = "Dim a\r\n\r\n' c\rx = \"s\"\n";
    ColourText(editor, text, store);
    // The final line break gives an empty last line: the editor holds the
    // text's bytes, and a first keystroke must not drop them.
    ASSERT_EQ(editor.LineCount(), 5);
    EXPECT_EQ(editor.Text(), "Dim a\r\n\r\n' c\r\nx = \"s\"\r\n");
    EXPECT_EQ(editor.ColourAt(0, "Dim"), kBlue);
    EXPECT_EQ(editor.ColourAt(2, "'"), kSilver);
    EXPECT_EQ(editor.ColourAt(3, "\"s\""), kPurple);

    ColourText(editor, "", store);
    EXPECT_TRUE(editor.IsEmpty());
}

TEST_F(ColouringTest, ColourLineRewritesAnExistingLineInPlace)
{
    MemoryEditor editor;
    ColourText(editor, "a\r\nb\r\nc", store);
    ColourLine(editor, 1, "gtotal", store);
    EXPECT_EQ(editor.Text(), "a\r\ngTotal\r\nc");
    EXPECT_EQ(editor.ColourAt(1, "gTotal"), kRed);
    ColourLine(editor, 3, "d", store);
    EXPECT_EQ(editor.Text(), "a\r\ngTotal\r\nc\r\nd");
}

// A page: the words of its HTML stay plain, its server code is coloured,
// and every byte is written as it stands.
TEST_F(ColouringTest, OnlyTheServerCodeOfAPageIsColoured)
{
    const std::string page = "<p>Dim x</p>\r\n<% Dim y %>";
    const std::string script = "            \r\n   Dim y   ";
    std::string written;
    std::vector<std::pair<std::string, ColourValue>> dims;
    for (const ColourRun &run : ColourTextRuns(page, store, script)) {
        written += run.text;
        if (run.text.find("Dim") != std::string::npos)
            dims.emplace_back(run.text, run.colour);
    }
    EXPECT_EQ(written, page);
    ASSERT_EQ(dims.size(), 2u);
    EXPECT_EQ(dims[0].second, ColourOfKeyType(kNoEntry));
    EXPECT_EQ(dims[1].first, "Dim");
    EXPECT_EQ(dims[1].second, ColourOfKeyType(kKeyword));
}
