#include "skin/data/quick_ini.h"

#include <gtest/gtest.h>

using namespace qasp::skin;

namespace {

TQuickIni Ini(std::string_view text)
{
    TQuickIni ini;
    ini.Load(text);
    return ini;
}

}  // namespace

TEST(QuickIni, KeysAndSectionsIgnoreCaseAndBlanks)
{
    const TQuickIni ini = Ini("orphan=1\r\n; a comment\r\n\r\n[Buttons]\r\n  LeftWidth  =  7  \r\n"
                              "leftwidth=9\r\nEmpty=\r\nNoEquals\r\n[buttons]\r\nTopHeight=3\r\n");
    EXPECT_EQ(ini.ReadString("BUTTONS", "LEFTWIDTH", "d"), "7");  // the first of duplicates
    EXPECT_EQ(ini.ReadString("Buttons", "Empty", "d"), "d");
    EXPECT_EQ(ini.ReadString("Buttons", "TopHeight", "d"), "d");  // only the first section is searched
    EXPECT_EQ(ini.ReadString("Buttons", "orphan", "d"), "d");
    EXPECT_EQ(ini.SectionLine("buttons"), 1);  // comments and blank lines do not count
    EXPECT_EQ(ini.SectionLine("Missing"), -1);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Buttons", "buttons"}));
}

TEST(QuickIni, LinesEndAtCrLfOrNulAndANulEndsTheText)
{
    using namespace std::string_view_literals;  // the view keeps the NUL inside the literal
    const TQuickIni ini = Ini("[A]\rx=1\ny=2\r\n\n\rz=3\0w=4"sv);
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "z", ""), "3");
    EXPECT_EQ(ini.ReadString("A", "w", "none"), "none");
    EXPECT_EQ(ini.Lines().size(), 4u);
}

TEST(QuickIni, IntegersDecimalHexAndDefaults)
{
    const TQuickIni ini = Ini("[S]\r\na=0x10\r\nb=$10\r\nc=abc\r\nd=-12\r\ne=\r\nf=$FFFFFFFF\r\n"
                              "g=99999999999\r\nh=0X1f\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "a", 5), 16);
    EXPECT_EQ(ini.ReadInteger("S", "b", 5), 16);
    EXPECT_EQ(ini.ReadInteger("S", "c", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "d", 5), -12);
    EXPECT_EQ(ini.ReadInteger("S", "e", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "f", 5), -1);
    EXPECT_EQ(ini.ReadInteger("S", "g", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "h", 5), 31);
}

TEST(QuickIni, ColourTexts)
{
    EXPECT_EQ(ParseRGB("255 128 64"), 0x4080FF);
    EXPECT_EQ(ParseRGB(" 10,20,30 "), 0x1E140A);
    EXPECT_EQ(ParseRGB("7"), 0);               // a single number: black
    EXPECT_EQ(ParseRGB("255 128"), 0x0000FF);  // the second run is pending, not stored
    EXPECT_EQ(ParseRGB("1-2-3"), 0x030201);    // a minus sign separates
    EXPECT_EQ(ParseRGB("300 0 0"), 300 & 0xFF);
    EXPECT_EQ(ParseRGB("99999999999 5 6"), 0);  // too large: nothing after it is stored
    EXPECT_EQ(ParseRGB("1 2 3 4"), 0x030201);
    const TQuickIni ini = Ini("[Colours]\r\nHilight=0 0 128\r\n[Personality]\r\nActiveTextR=255\r\n"
                              "ActiveTextG=255\r\nActiveTextB=0\r\nInActiveTextR=1\r\n");
    EXPECT_EQ(ini.ReadColour("Colours", "Hilight", -7), 0x800000);
    EXPECT_EQ(ini.ReadColour("Colours", "Missing", -7), -7);
    int32_t active = 0x1FFFFFFF, inactive = 0x1FFFFFFF;
    ini.ReadRGB("Personality", "ActiveText", active);
    ini.ReadRGB("Personality", "InActiveText", inactive);
    EXPECT_EQ(active, 0x00FFFF);
    EXPECT_EQ(inactive, 0x1FFFFFFF);  // not all three given
}
