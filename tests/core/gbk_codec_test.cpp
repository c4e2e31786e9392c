#include "text/gbk.h"
#include "text/gbk_codec.h"

#include <gtest/gtest.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <iconv.h>
#include <random>
#include <set>
#include <vector>

using namespace qasp;

TEST(GbkCodec, DecodesChineseAndAscii)
{
    EXPECT_EQ(DecodeGbk("\xD6\xD0\xCE\xC4 ok"), u"中文 ok");
    EXPECT_EQ(EncodeGbk(u"中文 ok"), "\xD6\xD0\xCE\xC4 ok");
    EXPECT_EQ(DecodeGbk("\xA1\xA1"), u"\u3000");  // ideographic space
}

TEST(GbkCodec, EveryPairAndEveryByteComesBackUnchanged)
{
    std::string all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            all += static_cast<char>(lead);
            all += static_cast<char>(trail);
            all += ' ';
        }
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(EncodeGbk(DecodeGbk(all)), all);
}

// Output for terminals and JSON is valid UTF-8 whatever the bytes: every
// pair, every byte and pieces of characters, alone and mixed.
TEST(GbkCodec, ConvertsAnyBytesToValidUtf8)
{
    std::string all;
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x00; trail <= 0xFF; ++trail) {
            all += static_cast<char>(lead);
            all += static_cast<char>(trail);
        }
    for (const std::string &bytes : {all, all.substr(1), std::string("\xFF\x80\x81")}) {
        const std::string utf8 = GbkToUtf8(bytes);
        const auto *data = reinterpret_cast<const uint8_t *>(utf8.data());
        const auto size = static_cast<int32_t>(utf8.size());
        for (int32_t i = 0; i < size;) {
            const int32_t at = i;
            UChar32 c = 0;
            U8_NEXT(data, i, size, c);
            ASSERT_GE(c, 0) << "invalid UTF-8 at byte " << at;
        }
    }
}

// The tables are made at build time in one pass over all sequences; each
// sequence must decode as this machine's converter gives it alone (the first sequence of a character
// keeps it, later ones and refused ones stay raw bytes).
TEST(GbkCodec, EverySequenceDecodesAsTheConverterGivesItAlone)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));  // NOLINT(performance-no-int-to-ptr)
    const auto alone = [cd](std::string bytes) -> char16_t {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char out[8];
        char *inp = bytes.data();
        char *outp = out;
        size_t inLeft = bytes.size(), outLeft = sizeof out;
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || sizeof out - outLeft != 2)
            return 0;
        const auto u = static_cast<char16_t>(static_cast<unsigned char>(out[0])
                                             | static_cast<unsigned char>(out[1]) << 8);
        return u >= 0x80 && (u < kEscapeBase || u > kEscapeBase + 0x7F) ? u : 0;
    };
    std::vector<std::string> sequences;
    for (int b = 0x80; b <= 0xFF; ++b)
        sequences.emplace_back(1, static_cast<char>(b));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (trail != 0x7F)
                sequences.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    std::set<char16_t> claimed;
    size_t characters = 0;
    for (const std::string &bytes : sequences) {
        const char16_t expected = alone(bytes);
        const std::u16string decoded = DecodeGbk(bytes);
        if (expected != 0 && claimed.insert(expected).second) {
            ++characters;
            ASSERT_EQ(decoded, std::u16string(1, expected)) << std::hex << int(bytes[0] & 0xFF);
        } else {
            ASSERT_EQ(decoded.size(), bytes.size()) << std::hex << int(bytes[0] & 0xFF);
            EXPECT_GE(decoded[0], kEscapeBase);
        }
    }
    iconv_close(cd);
    EXPECT_GT(characters, 21000u);  // the code page's ideographs and symbols
}

TEST(GbkCodec, RandomBytesComeBackUnchanged)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 64, '\0');
        for (char &c : bytes)
            c = static_cast<char>(random() % 256);
        ASSERT_EQ(EncodeGbk(DecodeGbk(bytes)), bytes);
        ASSERT_EQ(Utf8ToGbk(GbkToUtf8(bytes)), bytes);  // the UTF-8 path decodes alike
    }
}

TEST(GbkCodec, BytesStrictConvertersRejectAreCarriedThrough)
{
    // A lone 0x80, an unassigned pair and a pair of the user-defined area.
    for (const std::string bytes : {"a\x80"
                                    "b",
                                    "\xFE\xFE", "\xAA\xA1", "\x81"}) {
        bool lossy = true;
        EXPECT_EQ(EncodeGbk(DecodeGbk(bytes), &lossy), bytes);
        EXPECT_FALSE(lossy);
    }
    // Stray bytes never decode to ordinary characters the user could type.
    const std::u16string stray = DecodeGbk("\xFE\xFE");
    ASSERT_EQ(stray.size(), 2u);
    EXPECT_GE(stray[0], kEscapeBase);
}

TEST(GbkCodec, CharactersOutsideTheCodePageAreReported)
{
    bool lossy = false;
    EXPECT_EQ(EncodeGbk(u"a\U0001F600b", &lossy), "a??b");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(GbkToUtf8("\xD6\xD0"), "中");
    EXPECT_EQ(Utf8ToGbk("中a"), "\xD6\xD0"
                                "a");
}

TEST(GbkShape, TwoByteCharactersAreOneUnit)
{
    const std::string s = "\xB0\x4C"
                          "eft\x81\x20";
    EXPECT_EQ(GbkCharLength(s, 0), 2u);
    EXPECT_EQ(GbkCharLength(s, 2), 1u);
    EXPECT_EQ(GbkCharLength(s, 5), 1u);  // a lead byte before a blank stands alone
    EXPECT_EQ(GbkPreviousCharStart(s, 0, 2), 0u);
    EXPECT_EQ(GbkPreviousCharStart(s, 0, 3), 2u);
}
