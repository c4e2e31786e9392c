// The bytes the edit check expects: a wrong expectation would report a
// sound save as a fault, or hide a real one.
#include "byte_diff.h"
#include "edit_expectation.h"

#include <gtest/gtest.h>

namespace qasp::sitecheck {
namespace {

TEST(EditExpectation, CountsEveryKindOfLineBreakOnce)
{
    EXPECT_EQ(LineBreaksBefore("a\r\nb\nc\rd", 100), 3u);
    EXPECT_EQ(LineBreaksBefore("a\r\nb\r\n", 3), 1u);
    EXPECT_EQ(LineBreaksBefore("\r\r\n\n", 4), 3u);
}

TEST(EditExpectation, TheNewLineTakesTheFilesOwnEnd)
{
    EXPECT_EQ(WithLineInserted("a\nb\n", 1, "x"), "a\nx\nb\n");
    EXPECT_EQ(WithLineInserted("a\r\nb", 1, "x"), "a\r\nx\r\nb");
    EXPECT_EQ(WithLineInserted("a\rb\r", 2, "x"), "a\rb\rx\r");
    // Several kinds, or none: CR LF.
    EXPECT_EQ(WithLineInserted("a\nb\r\nc", 2, "x"), "a\nb\r\nx\r\nc");
    EXPECT_EQ(WithLineInserted("a", 0, "x"), "x\r\na");
}

TEST(ByteDifference, NamesThePlaceAndShowsTheBytesEscaped)
{
    EXPECT_EQ(DescribeDifference("same", "same"), "");
    EXPECT_EQ(
        DescribeDifference("a\r\nb\xD6\xD0", "a\r\nb\xD6\xD1"),
        "byte 5 (line 2): expected \"a\\r\\nb\\xD6|\\xD0\" got \"a\\r\\nb\\xD6|\\xD1\" (sizes 6 and 6)");
    EXPECT_EQ(DescribeDifference("ab", "abc"),
              "byte 2 (line 1): expected \"ab|<end>\" got \"ab|c\" (sizes 2 and 3)");
}

}  // namespace
}  // namespace qasp::sitecheck
