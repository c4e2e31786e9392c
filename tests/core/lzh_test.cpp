#include "skin/data/lzh.h"

#include <gtest/gtest.h>

#include <random>

using namespace qasp::skin;

namespace {

std::string FromHex(std::string_view hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return out;
}

std::string Random(size_t size, unsigned seed, int alphabet = 256)
{
    std::mt19937 random(seed);
    std::string out(size, '\0');
    for (char &c : out)
        c = static_cast<char>(random() % alphabet);
    return out;
}

}  // namespace

TEST(Lzh, KnownAnswersOfThePublishedAlgorithm)
{
    const std::pair<std::string, std::string> cases[] = {
        {"A", "01000000e680"},
        {"ABABABABAB", "0a000000e6f3a44020"},
        {"          x", "0b00000093000200"},  // a match into the initial spaces
        {"hello hello hello hello!", "18000000fa7c7f187fb9b02eb4"},
    };
    for (const auto &[text, stream] : cases) {
        EXPECT_EQ(LzhEncode(text), FromHex(stream)) << text;
        EXPECT_EQ(LzhDecode(FromHex(stream)), text) << text;
    }
}

TEST(Lzh, RoundTripsOfEveryKindOfInput)
{
    std::string bitmap;  // rows of a picture: long runs and repeats at a distance
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 300; ++x)
            bitmap += static_cast<char>((x / 10 + y / 8) % 3 == 0 ? 0xFF : 0x20 + y % 4);
    const std::string inputs[] = {
        "",
        std::string(1000, 'a'),  // runs far longer than the longest match
        std::string(5000, ' '),  // the ring buffer's own initial bytes
        bitmap,
        Random(20000, 1),     // incompressible
        Random(50000, 2, 4),  // few symbols
        "Dim a, b\r\nConst K = \"\xD6\xD0\"\r\n",
    };
    for (const std::string &input : inputs) {
        const std::string stream = LzhEncode(input);
        EXPECT_EQ(LzhDecode(stream), input) << input.size();
    }
}

TEST(Lzh, LongInputsRebuildTheTreeAndStillRoundTrip)
{
    // Several megabytes push the root's frequency past 0x8000 many times.
    std::string input = Random(3 << 20, 3, 16);
    for (size_t i = 0; i < input.size(); i += 7919)
        input.replace(i, 40, "a repeated phrase that the matcher finds ");
    input.resize(3 << 20);
    EXPECT_EQ(LzhDecode(LzhEncode(input)), input);
}

TEST(Lzh, ADistanceOfZeroRepeatsTheLastByte)
{
    const std::string stream = LzhEncode("xyz" + std::string(59, 'z'));
    EXPECT_EQ(LzhDecode(stream), "xyz" + std::string(59, 'z'));
    EXPECT_LT(stream.size(), 16u);
}

TEST(Lzh, AStreamThatEndsEarlyReadsZeroBitsAndStops)
{
    const std::string stream = LzhEncode(Random(4000, 4, 64));
    const std::string cut = stream.substr(0, stream.size() / 2);
    const std::string decoded = LzhDecode(cut);
    EXPECT_GE(decoded.size(), 4000u);  // the decoded size is reached, a last match may run over
    EXPECT_LT(decoded.size(), 4000u + 60);
    EXPECT_EQ(LzhDecode(std::string("\0\0\0\0", 4)), "");
}

TEST(Lzh, DecodingConsumesExactlyTheStream)
{
    const std::string stream = LzhEncode(Random(10000, 5, 32));
    size_t read = 4;
    std::string out;
    TLZH().Decode(
        10000,
        [&](uint8_t *buffer, uint16_t requested) -> uint16_t {
            EXPECT_EQ(requested, 1);
            if (read >= stream.size())
                return 0;
            *buffer = static_cast<uint8_t>(stream[read++]);
            return 1;
        },
        [&](const uint8_t *buffer, uint16_t count) {
            out.append(reinterpret_cast<const char *>(buffer), count);
        });
    EXPECT_EQ(out.size(), 10000u);
    // At most the last byte of the stream is left unread: the reader fetches
    // ahead only while it holds 8 bits or fewer.
    EXPECT_GE(read + 1, stream.size());
}

TEST(Lzh, ImplausibleSizesAreRefused)
{
    EXPECT_THROW(LzhDecode("\x01\x02"), ElzhException);
    EXPECT_THROW(LzhDecode(std::string("\xFF\xFF\xFF\x7F", 4)), ElzhException);
    EXPECT_THROW(LzhDecode(std::string("\x00\x00\x00\x01", 4), 1 << 20), ElzhException);
}
