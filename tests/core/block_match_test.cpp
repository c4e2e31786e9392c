#include "editor/block_match.h"

#include <gtest/gtest.h>

using namespace qasp;

namespace {

const std::vector<std::string> kCode = {
    "<% Function F(a)",          // 0
    "\tIf a Then",               // 1
    "\t\tFor i = 1 To (a + 1)",  // 2
    "\t\t\tIf a Then x = 1",     // 3: one line, no block
    "\t\t\tIf a Then",           // 4
    "\t\t\tEnd If",              // 5
    "\t\tNext",                  // 6
    "\tEnd If",                  // 7
    "\tx = \"(\" & (a) ' )",     // 8
    "End Function %>",           // 9
};

}  // namespace

TEST(BlockMatch, KeywordsPairAcrossNestedBlocks)
{
    EXPECT_EQ(MatchingPair(kCode, 1, 1), (std::vector<TextSpan>{{1, 1, 2}, {7, 1, 6}}));
    EXPECT_EQ(MatchingPair(kCode, 7, 7), (std::vector<TextSpan>{{1, 1, 2}, {7, 1, 6}}));  // just after
    EXPECT_EQ(MatchingPair(kCode, 4, 4), (std::vector<TextSpan>{{4, 3, 2}, {5, 3, 6}}));
    EXPECT_EQ(MatchingPair(kCode, 6, 2), (std::vector<TextSpan>{{2, 2, 3}, {6, 2, 4}}));
    EXPECT_EQ(MatchingPair(kCode, 0, 5), (std::vector<TextSpan>{{0, 3, 8}, {9, 0, 12}}));
    EXPECT_TRUE(MatchingPair(kCode, 3, 4).empty());               // a one-line If has no End If
    EXPECT_TRUE(MatchingPair(kCode, 1, 8).empty());               // the caret is past the keyword
    EXPECT_TRUE(MatchingPair({"For i = 1 To 2"}, 0, 0).empty());  // no Next
}

TEST(BlockMatch, BracketsOutsideStringsAndComments)
{
    EXPECT_EQ(MatchingPair(kCode, 2, 15), (std::vector<TextSpan>{{2, 15, 1}, {2, 21, 1}}));
    EXPECT_EQ(MatchingPair(kCode, 2, 22), (std::vector<TextSpan>{{2, 15, 1}, {2, 21, 1}}));
    EXPECT_EQ(MatchingPair(kCode, 8, 11), (std::vector<TextSpan>{{8, 11, 1}, {8, 13, 1}}));
    EXPECT_TRUE(MatchingPair(kCode, 8, 6).empty());   // in a string
    EXPECT_TRUE(MatchingPair(kCode, 8, 17).empty());  // in a comment
    EXPECT_TRUE(MatchingPair({"x = (a"}, 0, 4).empty());
}

TEST(BlockMatch, OnlyABlockKeywordNeedsTheLinesAround)
{
    // The editor reads the lines around the caret only when it touches a
    // block keyword; everywhere else its own line must give the same pair.
    for (int row = 0; row < static_cast<int>(kCode.size()); ++row) {
        const std::string &line = kCode[static_cast<size_t>(row)];
        for (size_t column = 0; column <= line.size() + 1; ++column) {
            if (TouchesBlockKeyword(line, column))
                continue;
            std::vector<TextSpan> alone = MatchingPair({line}, 0, column);
            for (TextSpan &span : alone)
                span.row = row;
            EXPECT_EQ(alone, MatchingPair(kCode, row, column)) << "row " << row << " column " << column;
        }
    }
    EXPECT_TRUE(TouchesBlockKeyword(kCode[7], 1));
    EXPECT_TRUE(TouchesBlockKeyword(kCode[7], 7));   // just after End If
    EXPECT_FALSE(TouchesBlockKeyword(kCode[7], 8));  // past it
    EXPECT_FALSE(TouchesBlockKeyword(kCode[8], 12));
}
