#include "skin/data/lzh.h"
#include "skin/data/skin_reader.h"

#include <gtest/gtest.h>

using namespace qasp::skin;

namespace {

std::string Packed(const std::vector<std::pair<std::string, std::string>> &entries)
{
    return LzhEncode(BuildSkinContainer(entries));
}

std::string Int32(int32_t v)
{
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace

TEST(SkinReader, EntriesByNameIgnoringCaseFirstOfTwoWins)
{
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(Packed({{"Frame.BMP", "BMframe"},
                                        {"skin.ini", "[Form]\r\n"},
                                        {"frame.bmp", "BMsecond"},
                                        {"empty.bmp", ""}})));
    EXPECT_EQ(reader.Names().size(), 4u);
    EXPECT_EQ(reader.Names()[0], "frame.bmp");
    EXPECT_EQ(reader.ExtractEntry("FRAME.bmp"), "BMframe");
    EXPECT_EQ(reader.ExtractEntry("missing.bmp"), "");
    EXPECT_EQ(reader.ExtractEntry("empty.bmp"), "");
    std::string found = "unchanged";
    EXPECT_EQ(reader.ExtractFirstMatch(".ini", found), "[Form]\r\n");
    EXPECT_EQ(found, "skin.ini");
    found = "unchanged";
    EXPECT_EQ(reader.ExtractFirstMatch(".gif", found), "");
    EXPECT_EQ(found, "unchanged");
}

TEST(SkinReader, NameListLinesEndInAnyLineBreak)
{
    std::string list = "a.bmp\rb.bmp\nc.bmp\r\n";
    std::string container = Int32(20000) + Int32(static_cast<int32_t>(list.size())) + Int32(0) + Int32(0)
                            + list + Int32(1) + Int32(1) + Int32(1) + "ABC";
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(LzhEncode(container)));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
    EXPECT_EQ(reader.ExtractEntry("c.bmp"), "C");
}

TEST(SkinReader, AnOlderFormatShowsTheMessage)
{
    std::string shown;
    TSkinReader reader;
    reader.ShowMessage = [&shown](const std::string &m) { shown = m; };
    EXPECT_FALSE(reader.ReadSkin(LzhEncode("")));  // decoded size 0: version reads as 0
    EXPECT_EQ(shown, "This is Older Skin File\rPlease update to new version !");
    EXPECT_TRUE(reader.Names().empty());
}

TEST(SkinReader, ContainersThatDoNotHoldTogetherAreRefused)
{
    const auto header = [](int32_t listLength) {
        return Int32(20000) + Int32(listLength) + Int32(0) + Int32(0);
    };
    std::string many;
    for (int i = 0; i < 1002; ++i)
        many += "e" + std::to_string(i) + "\r\n";
    const std::string zeroSizes(1002 * sizeof(int32_t), '\0');
    const std::string bad[] = {
        header(1000) + "a.bmp\r\n",                                    // a list longer than the container
        header(-5),                                                    // a negative list length
        header(7) + "a.bmp\r\n" + Int32(100) + "short",                // a size past the data
        header(7) + "a.bmp\r\n",                                       // no size table
        header(static_cast<int32_t>(many.size())) + many + zeroSizes,  // 1002 entries
        header(7) + "a.bmp\r\n" + Int32(-1),                           // a negative size
    };
    for (const std::string &container : bad) {
        TSkinReader reader;
        EXPECT_FALSE(reader.ReadSkin(LzhEncode(container)));
        EXPECT_FALSE(reader.LastError().empty());
        EXPECT_TRUE(reader.Names().empty());
    }
    TSkinReader reader;
    EXPECT_FALSE(reader.ReadSkin("\x01"));  // not even a size field
}
