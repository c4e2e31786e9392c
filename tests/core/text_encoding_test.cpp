#include "text/gbk_codec.h"
#include "text/text_encoding.h"

#include <gtest/gtest.h>

#include <random>

using namespace qasp;

namespace {

constexpr TextEncoding kBoth[] = {TextEncoding::Gbk, TextEncoding::Utf8};

// UTF-8 written out by hand, independently of the code under test.
std::string Utf8Of(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18);
        s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

bool IsEscape(char16_t u)
{
    return u >= kEscapeBase && u <= kEscapeBase + 0x7F;
}

bool AllEscapes(std::u16string_view text)
{
    for (const char16_t u : text)
        if (!IsEscape(u))
            return false;
    return true;
}

}  // namespace

TEST(TextEncoding, Utf8DecodesEveryCodePointAndEncodesItBack)
{
    std::string bytes;
    std::u16string expected;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::string one = Utf8Of(c);
        bytes += one;
        if (IsEscape(static_cast<char16_t>(c)) && c <= 0xFFFF) {
            // A real escape code point in the file would encode back as one
            // byte, so its three bytes are escaped instead.
            for (const char b : one)
                expected += static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(b) - 0x80);
        } else if (c > 0xFFFF) {
            expected += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            expected += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            expected += static_cast<char16_t>(c);
        }
    }
    const std::u16string text = Decode(TextEncoding::Utf8, bytes);
    ASSERT_EQ(text, expected);
    bool lossy = true;
    EXPECT_EQ(Encode(TextEncoding::Utf8, text, &lossy), bytes);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(Decode(TextEncoding::Gbk, "\xD6\xD0"), u"中");
    EXPECT_EQ(Decode(TextEncoding::Utf8, "\xE4\xB8\xAD"), u"中");
}

TEST(TextEncoding, EveryByteSequenceComesBackUnchanged)
{
    std::string pairs;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            pairs += static_cast<char>(a);
            pairs += static_cast<char>(b);
            pairs += (a + b) % 2 ? ' ' : '\x80';  // also a continuation byte after each pair
        }
    // Every three bytes that start with a lead byte of a longer UTF-8 form.
    std::string triples;
    for (int a = 0xE0; a < 0x100; ++a)
        for (int b = 0x80; b < 0xC0; ++b)
            for (int c = 0; c < 256; ++c) {
                triples += static_cast<char>(a);
                triples += static_cast<char>(b);
                triples += static_cast<char>(c);
                triples += 'x';
            }
    for (const TextEncoding encoding : kBoth) {
        SCOPED_TRACE(TextEncodingName(encoding));
        for (const std::string &bytes : {pairs, triples}) {
            bool lossy = true;
            EXPECT_EQ(Encode(encoding, Decode(encoding, bytes), &lossy), bytes);
            EXPECT_FALSE(lossy);
        }
    }
}

TEST(TextEncoding, RandomBytesComeBackUnchanged)
{
    // Bytes near the edges of the UTF-8 and GBK ranges, so that random strings
    // hold many almost-valid sequences.
    const unsigned char edges[] = {0x00, 0x0A, 0x0D, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9E, 0x9F,
                                   0xA0, 0xAD, 0xB8, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE4,
                                   0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xF7, 0xFE, 0xFF};
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 40, '\0');
        for (char &c : bytes)
            c = static_cast<char>(round % 2 ? edges[random() % sizeof edges] : random() % 256);
        for (const TextEncoding encoding : kBoth) {
            const std::u16string text = Decode(encoding, bytes);
            ASSERT_EQ(Encode(encoding, text), bytes) << TextEncodingName(encoding) << " round " << round;
            size_t length = 0;
            for (const char16_t u : text)
                length += EncodedLength(encoding, u);
            ASSERT_EQ(length, bytes.size());
            ASSERT_EQ(ByteOffsetOfUnit(encoding, text, text.size()), bytes.size());
        }
    }
}

TEST(TextEncoding, IllFormedUtf8IsCarriedByteForByte)
{
    const std::string forms[] = {
        "\x80",                      // a continuation byte alone
        "\xC0\x80",                  // overlong NUL
        "\xC1\xBF",                  // overlong 0x7F
        "\xE0\x80\xAF",              // overlong '/'
        "\xF0\x80\x80\xAF",          // overlong '/' in four bytes
        "\xED\xA0\x80",              // a high surrogate
        "\xED\xBF\xBF",              // a low surrogate
        "\xED\xA0\xBD\xED\xB8\x80",  // a pair written as two surrogates
        "\xF4\x90\x80\x80",          // beyond U+10FFFF
        "\xF5\x80\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\xFE",
        "\xFF",
        "\xE4\xB8",      // truncated at the end of the text
        "\xF0\x9F\x98",  // truncated four-byte form
        "\xEF\x9E\x80",  // the escape code point U+F780 itself
    };
    for (const std::string &form : forms) {
        SCOPED_TRACE(testing::PrintToString(form));
        const std::u16string text = Decode(TextEncoding::Utf8, form);
        EXPECT_EQ(text.size(), form.size());
        EXPECT_TRUE(AllEscapes(text));
        EXPECT_EQ(Encode(TextEncoding::Utf8, text), form);
        // Between valid text, nothing around it is swallowed.
        const std::string framed = "a\xE4\xB8\xAD" + form + "b";
        const std::u16string framedText = Decode(TextEncoding::Utf8, framed);
        EXPECT_EQ(framedText.substr(0, 2), u"a中");
        EXPECT_EQ(framedText.back(), u'b');
        EXPECT_EQ(Encode(TextEncoding::Utf8, framedText), framed);
    }
    // A truncated sequence gives back the ASCII byte that cut it short.
    EXPECT_EQ(Decode(TextEncoding::Utf8, "\xE4\xB8"
                                         "A"),
              (std::u16string{static_cast<char16_t>(kEscapeBase + 0x64),
                              static_cast<char16_t>(kEscapeBase + 0x38), u'A'}));
}

TEST(TextEncoding, ByteOrderMarkStaysPartOfTheText)
{
    const std::string bytes = "\xEF\xBB\xBF<% x %>";
    const std::u16string text = Decode(TextEncoding::Utf8, bytes);
    EXPECT_EQ(text, u"\uFEFF<% x %>");
    EXPECT_EQ(Encode(TextEncoding::Utf8, text), bytes);
    EXPECT_EQ(Encode(TextEncoding::Gbk, Decode(TextEncoding::Gbk, bytes)), bytes);
}

TEST(TextEncoding, WhatUtf8CannotHoldIsReported)
{
    bool lossy = false;
    EXPECT_EQ(Encode(TextEncoding::Utf8, u"a\U0001F600b", &lossy), "a\xF0\x9F\x98\x80"
                                                                   "b");
    EXPECT_FALSE(lossy);
    const char16_t lone[] = {u'a', 0xD83D, u'b', 0xDE00};
    EXPECT_EQ(Encode(TextEncoding::Utf8, std::u16string_view(lone, 4), &lossy), "a?b?");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(Encode(TextEncoding::Gbk, u"\U0001F600", &lossy), "??");
    EXPECT_TRUE(lossy);
    EXPECT_STREQ(TextEncodingName(TextEncoding::Gbk), "GBK");
    EXPECT_STREQ(TextEncodingName(TextEncoding::Utf8), "UTF-8");
}

TEST(TextEncoding, LineOffsetsFollowTheEncodedBytes)
{
    // ASCII, a Chinese character, an escaped byte, a character beyond the BMP.
    const std::u16string line = u"a中" + std::u16string(1, kEscapeBase + 1) + u"\U0001F600z";
    const char16_t lone[] = {u'x', 0xD83D, u'y'};
    for (const TextEncoding encoding : kBoth) {
        SCOPED_TRACE(TextEncodingName(encoding));
        for (const std::u16string_view text : {std::u16string_view(line), std::u16string_view(lone, 3)}) {
            for (size_t unit = 0; unit <= text.size(); ++unit) {
                const bool insidePair = encoding == TextEncoding::Utf8 && unit > 0 && unit < text.size()
                                        && text[unit - 1] >= 0xD800 && text[unit - 1] <= 0xDBFF
                                        && text[unit] >= 0xDC00 && text[unit] <= 0xDFFF;
                const size_t start = insidePair ? unit - 1 : unit;
                const size_t offset = ByteOffsetOfUnit(encoding, text, unit);
                EXPECT_EQ(offset, Encode(encoding, text.substr(0, start)).size()) << unit;
                EXPECT_EQ(UnitOffsetOfByte(encoding, text, offset), start) << unit;
            }
            const size_t total = Encode(encoding, text).size();
            EXPECT_EQ(UnitOffsetOfByte(encoding, text, total + 5), text.size());
        }
    }
    // A byte inside a character gives the character's start.
    EXPECT_EQ(UnitOffsetOfByte(TextEncoding::Utf8, line, 2), 1u);    // inside 中 (bytes 1-3)
    EXPECT_EQ(UnitOffsetOfByte(TextEncoding::Utf8, line, 7), 3u);    // inside the emoji (bytes 5-8)
    EXPECT_EQ(UnitOffsetOfByte(TextEncoding::Gbk, line, 2), 1u);     // inside 中 (bytes 1-2)
    EXPECT_EQ(ByteOffsetOfUnit(TextEncoding::Utf8, line, 99), 10u);  // past the end: the whole line
}
