// What bytes alone say about their encoding, and where they break it.
#include "text/byte_evidence.h"

#include "gbk_literal.h"

#include <gtest/gtest.h>

namespace qasp {
namespace {

TEST(ByteEvidence, TellsTheEncodingsApart)
{
    EXPECT_EQ(SurveyBytes("<% x = 1 %>").form, ByteForm::Ascii);
    const ByteEvidence utf8 = SurveyBytes("<p>欢迎光临本站，请登录。</p>");
    EXPECT_EQ(utf8.form, ByteForm::Utf8);
    EXPECT_EQ(utf8.Settled(), TextEncoding::Utf8);
    const ByteEvidence gbk = SurveyBytes(Gbk("<p>欢迎光临本站，请登录。</p>"));
    EXPECT_EQ(gbk.form, ByteForm::Gbk);
    EXPECT_EQ(gbk.Settled(), TextEncoding::Gbk);
    const ByteEvidence bom = SurveyBytes("\xEF\xBB\xBF<p>x</p>");
    EXPECT_TRUE(bom.byteOrderMark);
    EXPECT_EQ(bom.Settled(), TextEncoding::Utf8);
    // Neither: a UTF-8 page with GBK pasted into it.
    const ByteEvidence both = SurveyBytes("中文" + Gbk("中文，") + "。");
    EXPECT_EQ(both.form, ByteForm::Invalid);
    EXPECT_FALSE(both.Settled());
}

TEST(ByteEvidence, ShortTextValidInBothIsNotSettledByTwoByteForms)
{
    // "学习" in GBK is D1 A7 CF B0: valid UTF-8 too, as two two-byte letters.
    const ByteEvidence gbk = SurveyBytes(Gbk("学习"));
    EXPECT_TRUE(gbk.validInBoth);
    EXPECT_EQ(gbk.form, ByteForm::Gbk);
    EXPECT_FALSE(gbk.Settled());
    // UTF-8 with three-byte forms settles it even when GBK could read it.
    const ByteEvidence utf8 = SurveyBytes("文网");  // E6 96 87 E7 BD 91: GBK pairs too
    EXPECT_TRUE(utf8.validInBoth);
    EXPECT_EQ(utf8.Settled(), TextEncoding::Utf8);
}

// "Tuğrul" in code page 1254 is 54 75 F0 72 75 6C: F0 72 is a GBK pair, a
// rare extension character, which Chinese text would not be made of alone.
TEST(ByteEvidence, WesternLettersAreNotTakenForGbk)
{
    const ByteEvidence western = SurveyBytes("' Copyright (c) 2009 Tu\xF0rul");
    EXPECT_EQ(western.form, ByteForm::Gbk);
    EXPECT_TRUE(western.rareGbkOnly);
    EXPECT_FALSE(western.Settled());
    EXPECT_FALSE(western.ValidIn(TextEncoding::Utf8));
    EXPECT_EQ(SurveyBytes(Gbk("' 版权所有 Tu") + "\xF0rul").Settled(), TextEncoding::Gbk);
}

TEST(ByteEvidence, InvalidOffsetsInEachEncoding)
{
    size_t count = 0;
    // A lead byte before ASCII, and 0xFF, which starts no GBK character.
    EXPECT_EQ(InvalidByteOffsets("ab\xD6 \xFF"
                                 "d",
                                 TextEncoding::Gbk, 5, &count),
              (std::vector<size_t>{2, 4}));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(InvalidByteOffsets("a\xE4\xB8"
                                 "b\x80",
                                 TextEncoding::Utf8, 1, &count),
              (std::vector<size_t>{1}));
    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(InvalidByteOffsets(Gbk("中文"), TextEncoding::Gbk, 5).empty());
}

}  // namespace
}  // namespace qasp
