#include "text/line_breaks.h"

#include <gtest/gtest.h>

#include <random>

using namespace qasp;

TEST(LineBreaks, NormaliseMakesEveryBreakCrLf)
{
    EXPECT_EQ(NormaliseLineBreaks("a\nb\r\nc\rd\r"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(NormaliseLineBreaks("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(NormaliseLineBreaks(""), "");
    // Lead bytes of GBK and UTF-8 are never line breaks, nor are their trail bytes.
    EXPECT_EQ(NormaliseLineBreaks("\xD6\xD0\n\xE4\xB8\xAD\n"), "\xD6\xD0\r\n\xE4\xB8\xAD\r\n");
}

TEST(LineBreaks, AnUnchangedTextComesBackByteForByteWhateverItsBreaks)
{
    std::mt19937 random(7);
    const char pieces[] = {'a', '\r', '\n', ' ', '\x1a', '\xD6'};
    for (int round = 0; round < 500; ++round) {
        std::string original;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            original += pieces[random() % sizeof pieces];
        for (LineEnds style : {LineEnds::CrLf, LineEnds::Lf, LineEnds::Cr, LineEnds::Mixed})
            ASSERT_EQ(RestoreLineBreaks(NormaliseLineBreaks(original), original, style), original)
                << "round " << round;
    }
}

TEST(LineBreaks, EditedLinesTakeTheFileStyleAndTheRestKeepTheirBytes)
{
    // An LF file stays LF everywhere, the edited and the new lines too.
    EXPECT_EQ(RestoreLineBreaks("a\r\nB\r\nnew\r\nc\r\n", "a\nb\nc\n", LineEnds::Lf), "a\nB\nnew\nc\n");
    // A mixed file keeps the breaks of the lines before and after the edit.
    EXPECT_EQ(RestoreLineBreaks("a\r\nX\r\nc\r\n", "a\rb\nc\r", LineEnds::Mixed), "a\rX\r\nc\r");
    // A last line that gains a break gets the style's; one that loses it has none.
    EXPECT_EQ(RestoreLineBreaks("a\r\nb\r\n", "a\nb", LineEnds::Lf), "a\nb\n");
    EXPECT_EQ(RestoreLineBreaks("a\r\nb", "a\nb\n", LineEnds::Lf), "a\nb");
    // A new file (nothing to compare with) is written in its style.
    EXPECT_EQ(RestoreLineBreaks("x\r\ny\r\n", "", LineEnds::Cr), "x\ry\r");
}
