// The catalogue: the engine's numbers, its texts in both languages, the
// HRESULT the server shows.
#include "vbscript/compile_errors.h"

#include <gtest/gtest.h>

#include <string>

using namespace qasp::vbs;

namespace {

TEST(Catalogue, HoldsEachNumberOnceInOrderWithBothTexts)
{
    int last = 0;
    for (const CompileErrorEntry &e : CompileErrorCatalogue()) {
        EXPECT_GT(e.number, last);
        last = e.number;
        EXPECT_STRNE(e.english, "");
        EXPECT_STRNE(e.chinese, "");
        EXPECT_STREQ(CompileErrorText(e.number, MessageLanguage::English), e.english);
        EXPECT_STREQ(CompileErrorText(e.number, MessageLanguage::SimplifiedChinese), e.chinese);
    }
    EXPECT_EQ(CompileErrorCatalogue().front().number, 1001);
    EXPECT_EQ(CompileErrorCatalogue().back().number, 1058);
}

struct Text {
    int number;
    const char *english;
    const char *chinese;
};

class CatalogueTexts : public testing::TestWithParam<Text> {};

TEST_P(CatalogueTexts, AreTheEnginesOwn)
{
    EXPECT_STREQ(CompileErrorText(GetParam().number, MessageLanguage::English), GetParam().english);
    EXPECT_STREQ(CompileErrorText(GetParam().number, MessageLanguage::SimplifiedChinese), GetParam().chinese);
}

INSTANTIATE_TEST_SUITE_P(Samples, CatalogueTexts,
                         testing::Values(Text{1002, "Syntax error", "语法错误"},
                                         Text{1014, "Expected 'End'", "缺少 'End'"},
                                         Text{1024, "Expected statement", "缺少语句"},
                                         Text{1025, "Expected end of statement", "语句未结束"},
                                         Text{1033, "Unterminated string constant", "未结束的字符串常量"},
                                         Text{1041, "Name redefined", "名称重定义"}));

TEST(Catalogue, GivesNothingForANumberItLacks)
{
    EXPECT_EQ(CompileErrorText(1003, MessageLanguage::English), nullptr);
    EXPECT_EQ(CompileErrorText(500, MessageLanguage::SimplifiedChinese), nullptr);
    EXPECT_EQ(CompileErrorText(1059, MessageLanguage::English), nullptr);
}

TEST(Catalogue, NumbersBecomeTheServersHresultAndAMessageKey)
{
    EXPECT_EQ(CompileErrorHresult(1002), 0x800A03EAu);
    EXPECT_EQ(CompileErrorHresult(1025), 0x800A0401u);
    EXPECT_EQ(CompileErrorMessageKey(1041), "vbscript.1041");
}

TEST(Catalogue, TellsTheTextOfAMessageKey)
{
    EXPECT_STREQ(MessageText("vbscript.1041", MessageLanguage::SimplifiedChinese), "名称重定义");
    EXPECT_STREQ(MessageText("vbscript.declared-here", MessageLanguage::English), "First declared here");
    EXPECT_EQ(MessageText("vbscript.1041x", MessageLanguage::English), nullptr);
    EXPECT_EQ(MessageText("vbscript.", MessageLanguage::English), nullptr);
    EXPECT_EQ(MessageText("other.1041", MessageLanguage::English), nullptr);
}

}  // namespace
