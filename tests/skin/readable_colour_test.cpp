#include "skin/data/readable_colour.h"

#include <gtest/gtest.h>

using namespace qasp::skin;

TEST(ReadableColour, ContrastFollowsTheGuidelinesFormula)
{
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);  // order does not matter
    EXPECT_NEAR(ContrastRatio(QColor(51, 54, 59), QColor(51, 54, 59)), 1.0, 1e-9);
    // The dark skin's old fault: near-black text on its face.
    EXPECT_LT(ContrastRatio(QColor(22, 24, 26), QColor(51, 54, 59)), 1.5);
    EXPECT_NEAR(ContrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.01);
    EXPECT_TRUE(IsDark(QColor(51, 54, 59)));
    EXPECT_FALSE(IsDark(QColor(241, 241, 236)));
}

TEST(ReadableColour, TextMovesOnlyAsFarAsTheGroundNeeds)
{
    const QColor darkFace(51, 54, 59), lightFace(241, 241, 236);
    // Already readable: unchanged.
    EXPECT_EQ(ReadableOn(QColor(226, 226, 222), darkFace), QColor(226, 226, 222));
    EXPECT_EQ(ReadableOn(QColor(32, 32, 32), lightFace), QColor(32, 32, 32));
    // Too dark on a dark face: lighter, and just readable, not white.
    for (const QColor text : {QColor(0, 0, 255), QColor(0, 0, 0), QColor(128, 0, 128)}) {
        const QColor moved = ReadableOn(text, darkFace);
        EXPECT_GE(ContrastRatio(moved, darkFace), 4.5) << text.name().toStdString();
        EXPECT_GT(RelativeLuminance(moved), RelativeLuminance(text));
        EXPECT_NE(moved, QColor(Qt::white));
    }
    // Too light on a light face: darker. A stricter ratio moves further.
    const QColor grey(192, 192, 192);
    EXPECT_GE(ContrastRatio(ReadableOn(grey, lightFace), lightFace), 4.5);
    EXPECT_GE(ContrastRatio(ReadableOn(grey, lightFace, 7.0), lightFace), 7.0);
    EXPECT_LT(RelativeLuminance(ReadableOn(grey, lightFace)), RelativeLuminance(grey));
}
