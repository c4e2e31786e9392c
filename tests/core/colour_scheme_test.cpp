#include "editor/colour_scheme.h"

#include <gtest/gtest.h>

using namespace qasp;

TEST(ColourScheme, DefaultsReadWellOnTheirBackground)
{
    for (const ColourScheme *s : {&LightScheme(), &DarkScheme()})
        for (size_t i = 0; i < kColourCategoryCount; ++i)
            EXPECT_GE(ContrastRatio(s->colours[i], s->background), 4.5)
                << CategoryName(static_cast<ColourCategory>(i)) << " " << HtmlColour(s->colours[i]);
    EXPECT_FALSE(IsDarkBackground(LightScheme().background));
    EXPECT_TRUE(IsDarkBackground(DarkScheme().background));
}

TEST(ColourScheme, ClassicKeepsTheLegendColours)
{
    const ColourTable &table = BuildColourTable();
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(ClassicScheme().colours[i], table[i].Color) << i;
    EXPECT_EQ(HtmlColour(ClassicScheme().Of(ColourCategory::Comment)), "#C0C0C0");
    // The silver comment is why classic is not the default.
    EXPECT_NEAR(ContrastRatio(0xC0C0C0, 0xFFFFFF), 1.8, 0.05);
    EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
}

TEST(ColourScheme, NamesAndHtmlColours)
{
    EXPECT_EQ(SchemeNamed("dark"), &DarkScheme());
    EXPECT_EQ(SchemeNamed("nope"), nullptr);
    EXPECT_EQ(ParseHtmlColour("#0000FF"), ColourValue{0xFF0000});
    EXPECT_EQ(ParseHtmlColour("c00000"), ColourValue{0x0000C0});
    EXPECT_EQ(ParseHtmlColour("#12345"), std::nullopt);
    EXPECT_EQ(ParseHtmlColour("#12345G"), std::nullopt);
    EXPECT_EQ(CategoryName(ColourCategory::ClientStyle), "client-style");
    EXPECT_EQ(CategoryOfKeyType(-1), ColourCategory::Default);
}
