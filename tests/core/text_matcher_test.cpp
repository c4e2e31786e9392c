#include "editor/text_matcher.h"
#include "gbk_literal.h"

#include <gtest/gtest.h>

using namespace qasp;

namespace {

constexpr FindOptions kPlain{};
constexpr FindOptions kCase{true, false, false};
constexpr FindOptions kWord{false, true, false};
constexpr FindOptions kRegex{false, false, true};

std::vector<size_t> Offsets(const TextMatcher &m, std::string_view text, TextEncoding e = TextEncoding::Gbk)
{
    std::vector<size_t> at;
    for (const TextMatch &match : m.FindAll(text, e))
        at.push_back(match.offset);
    return at;
}

}  // namespace

TEST(TextMatcherTest, LetterCaseFoldsOnlyWhenAsked)
{
    EXPECT_EQ(Offsets(TextMatcher("dim", kPlain), "Dim x\r\nDIM y\r\ndim z"),
              (std::vector<size_t>{0, 7, 14}));
    EXPECT_EQ(Offsets(TextMatcher("dim", kCase), "Dim x\r\nDIM y\r\ndim z"), (std::vector<size_t>{14}));
    EXPECT_EQ(Offsets(TextMatcher("DIM", {true, false, true}), "Dim x\r\nDIM y"), (std::vector<size_t>{7}));
}

TEST(TextMatcherTest, WholeWordSkipsMatchesInsideNames)
{
    const std::string text = "Dim gCount, Count, Count_2, count";
    EXPECT_EQ(Offsets(TextMatcher("count", kWord), text), (std::vector<size_t>{12, 28}));
    EXPECT_EQ(Offsets(TextMatcher("co.nt", {false, true, true}), text), (std::vector<size_t>{12, 28}));
    // A Chinese character next to a word is no part of it.
    EXPECT_EQ(Offsets(TextMatcher("x", kWord), Gbk("中x文")), (std::vector<size_t>{2}));
}

TEST(TextMatcherTest, AGbkTrailByteIsNeverMatchedAsAscii)
{
    // 0x81 0x41 is one character whose second byte is an 'A'.
    const std::string text = "\x81"
                             "A"
                             "a";
    EXPECT_EQ(Offsets(TextMatcher("A", kPlain), text), (std::vector<size_t>{2}));
    EXPECT_TRUE(Offsets(TextMatcher("A", kCase), text).empty());
    EXPECT_TRUE(Offsets(TextMatcher("A", {true, false, true}), text).empty());
    // Folding letters leaves trail bytes alone: 0x81 0x61 is another character.
    EXPECT_TRUE(Offsets(TextMatcher(GbkToUtf8("\x81\x61"), kPlain), "\x81\x41").empty());
    EXPECT_EQ(Offsets(TextMatcher(GbkToUtf8("\x81\x41"), kPlain), "x\x81\x41"), (std::vector<size_t>{1}));
}

TEST(TextMatcherTest, MatchesAreByteRangesOfTheTextsEncoding)
{
    const TextMatcher plain("格", kPlain);
    EXPECT_EQ(plain.FindNext("价格 price", TextEncoding::Utf8, 0), (TextMatch{3, 3}));
    EXPECT_EQ(plain.FindNext(Gbk("价格 price"), TextEncoding::Gbk, 0), (TextMatch{2, 2}));
    const TextMatcher regex("格\\s+p", kRegex);
    EXPECT_EQ(regex.FindNext("价格 price", TextEncoding::Utf8, 0), (TextMatch{3, 5}));
    EXPECT_EQ(regex.FindNext(Gbk("价格 price"), TextEncoding::Gbk, 0), (TextMatch{2, 4}));
    // Searching on from an offset.
    EXPECT_EQ(TextMatcher("p", kRegex).FindNext(Gbk("p价p"), TextEncoding::Gbk, 1), (TextMatch{3, 1}));
    EXPECT_FALSE(plain.FindNext("价格", TextEncoding::Utf8, 4));
    // A character GBK cannot hold is in no GBK text.
    EXPECT_TRUE(Offsets(TextMatcher("😀", kPlain), Gbk("价格")).empty());
}

TEST(TextMatcherTest, RegularExpressionsSkipEmptyMatchesAndKnowLines)
{
    EXPECT_EQ(TextMatcher("x*", kRegex).FindNext("abxx", TextEncoding::Gbk, 0), (TextMatch{2, 2}));
    EXPECT_EQ(Offsets(TextMatcher("^end", kRegex), "End If\r\n  end\r\nEnd Sub"),
              (std::vector<size_t>{0, 15}));
}

TEST(TextMatcherTest, ABadPatternGivesAMessageAndFindsNothing)
{
    const TextMatcher bad("(abc", kRegex);
    EXPECT_NE(bad.Error().find("正则表达式有误"), std::string::npos);
    EXPECT_FALSE(bad.FindNext("(abc", TextEncoding::Gbk, 0));
    EXPECT_TRUE(bad.FindAll("(abc", TextEncoding::Gbk).empty());
    EXPECT_FALSE(TextMatcher("", kPlain).Error().empty());
    // The same text is fine when it is not a regular expression.
    EXPECT_EQ(Offsets(TextMatcher("(abc", kPlain), "x(abc"), (std::vector<size_t>{1}));
}

TEST(TextMatcherTest, ReplacementsTakeGroupsAndTheTextsEncoding)
{
    const std::string text = Gbk("Call 交换(a, b)");
    const TextMatcher swap(R"(\((\w+), (\w+)\))", kRegex);
    std::string error;
    const auto planned = swap.PlanReplacements(text, TextEncoding::Gbk, "($2, $1) \\$1", &error);
    ASSERT_TRUE(planned);
    ASSERT_EQ(planned->size(), 1u);
    EXPECT_EQ((*planned)[0].match, (TextMatch{9, 6}));
    EXPECT_EQ((*planned)[0].bytes, "(b, a) $1");
    const auto one = swap.ReplacementFor(text, TextEncoding::Gbk, (*planned)[0].match, "[$0]", &error);
    EXPECT_EQ(one, std::optional<std::string>("[(a, b)]"));
    EXPECT_EQ(TextMatcher("x", kPlain).ReplacementFor("x", TextEncoding::Gbk, {0, 1}, "文", &error),
              std::optional<std::string>(Gbk("文")));
    EXPECT_EQ(TextMatcher("x", kPlain).ReplacementFor("x", TextEncoding::Utf8, {0, 1}, "文", &error),
              std::optional<std::string>("文"));
}

TEST(TextMatcherTest, AReplacementThatCannotBeMadeIsRefused)
{
    std::string error;
    EXPECT_FALSE(TextMatcher("(a)", kRegex).PlanReplacements("a a", TextEncoding::Gbk, "$3", &error));
    EXPECT_NE(error.find("$3"), std::string::npos);
    error.clear();
    EXPECT_FALSE(TextMatcher("a", kPlain).PlanReplacements("a", TextEncoding::Gbk, "😀", &error));
    EXPECT_NE(error.find("GBK"), std::string::npos);
    // Where nothing matches there is nothing to refuse.
    const auto none = TextMatcher("b", kPlain).PlanReplacements("a", TextEncoding::Gbk, "😀", &error);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}
