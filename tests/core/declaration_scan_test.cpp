#include "editor/declaration_scan.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "gbk_literal.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qasp;

namespace {

struct Row {
    std::string name, hint;
    int type;
    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &r, std::ostream *os)
{
    *os << "{" << r.name << ", " << GbkToUtf8(r.hint) << ", " << r.type << "}";
}

class ScanTest : public ::testing::Test {
protected:
    std::vector<Row> Scan(KeywordTable table, std::string_view utf8Text)
    {
        ScanDeclarations(store, table, Gbk(utf8Text));
        std::vector<Row> rows;
        for (const KeywordRow &r : store.TableRows(table))
            rows.push_back({r.name, r.hint, r.type});
        return rows;
    }

    KeywordStore store{":memory:"};
    const std::string var = Gbk("变量");
};

}  // namespace

TEST_F(ScanTest, DimLineGivesVariablesAndArraysAsGlobals)
{
    EXPECT_EQ(Scan(KeywordTable::Public, "  Dim a, b(10) ,c  "),
              (std::vector<Row>{{"a", var, 2}, {"b", Gbk("数组上限:10"), 2}, {"c", var, 2}}));
}

TEST_F(ScanTest, FunctionParametersAreLocals)
{
    EXPECT_EQ(Scan(KeywordTable::Other, "Function Show(a, b)\r\nEnd Function"),
              (std::vector<Row>{{"a", var, 4}, {"b", var, 4}}));
}

TEST_F(ScanTest, EmptyParameterListGivesAnEmptyName)
{
    EXPECT_EQ(Scan(KeywordTable::Other, "function Now2()"), (std::vector<Row>{{"", var, 4}}));
}

TEST_F(ScanTest, ConstantsWithAndWithoutValue)
{
    EXPECT_EQ(Scan(KeywordTable::Public,
                   "Const SITE = \"青松\"\r\nCONST MAX_N = 20\r\nconst  Lone\r\nConst E = \"\""),
              (std::vector<Row>{{"SITE", Gbk("常量值:青松"), 3},
                                {"MAX_N", Gbk("常量值:20"), 3},
                                {" Lone", Gbk("常量"), 3},
                                {"E", Gbk("常量值:"), 3}}));
}

TEST_F(ScanTest, TwoDimensionalArraySplitsAtItsInnerComma)
{
    EXPECT_EQ(Scan(KeywordTable::Public, "Dim grid(3, 4)"),
              (std::vector<Row>{{"grid", Gbk("数组上限:3"), 2}, {"4)", var, 2}}));
}

TEST_F(ScanTest, VariablesAreWrittenAfterConstantsSoTheyWin)
{
    EXPECT_EQ(Scan(KeywordTable::Public, "Dim total\r\nConst TOTAL = 1"),
              (std::vector<Row>{{"total", var, 2}}));
}

// A name declared again (in any letter case) keeps its last declaration,
// in the place of that declaration, as if each had been written in turn.
TEST_F(ScanTest, ANameDeclaredAgainKeepsItsLastDeclaration)
{
    EXPECT_EQ(Scan(KeywordTable::Public, "Dim a(5), b, c\r\nDim A, c(2)\r\nDim b(1)"),
              (std::vector<Row>{{"A", var, 2}, {"c", Gbk("数组上限:2"), 2}, {"b", Gbk("数组上限:1"), 2}}));
}

TEST_F(ScanTest, OtherKeywordsAndDimWithATabAreNoDeclarations)
{
    EXPECT_TRUE(
        Scan(KeywordTable::Public, "ReDim a(3)\r\nPrivate b\r\nSub c(d)\r\nDim\te\r\nDimx f").empty());
}

TEST_F(ScanTest, ScanningIntoKeyOtherEmptiesItFirstEvenForAnEmptyText)
{
    store.ReplaceKeyword(KeywordTable::Other, "old", "x", kLocalVariable);
    EXPECT_TRUE(Scan(KeywordTable::Other, "  \r\n ").empty());
    store.ReplaceKeyword(KeywordTable::Other, "old", "x", kLocalVariable);
    EXPECT_EQ(Scan(KeywordTable::Other, "Dim n"), (std::vector<Row>{{"n", var, 4}}));
}

TEST_F(ScanTest, ScanningIntoKeyPublicNeverRemovesRows)
{
    Scan(KeywordTable::Public, "Dim oldName");
    EXPECT_EQ(Scan(KeywordTable::Public, "Dim newName"),
              (std::vector<Row>{{"oldName", var, 2}, {"newName", var, 2}}));
}

TEST_F(ScanTest, EachTestSeesWhatTheOneBeforeLeft)
{
    // After the Dim test the working text is what followed the last comma.
    EXPECT_EQ(Scan(KeywordTable::Public, "Dim a,const K = 2"),
              (std::vector<Row>{{"K", Gbk("常量值:2"), 3}, {"a", var, 2}, {"const K = 2", var, 2}}));
}

TEST_F(ScanTest, AStringValueLosesWholeCharactersOnly)
{
    // The last character of the value is a Chinese one: it goes whole.
    const auto rows = Scan(KeywordTable::Public, "Const Q = \"a\" & 中");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].hint, Gbk("常量值:a\" & "));
}

TEST_F(ScanTest, ScanIsOneTransactionAndNamesWithQuotesAreData)
{
    EXPECT_EQ(Scan(KeywordTable::Public, "Dim a\"b"), (std::vector<Row>{{"a\"b", var, 2}}));
}

TEST_F(ScanTest, TheSharedVocabularyTakesNoDeclarations)
{
    store.ReplaceKeyword(KeywordTable::Other, "kept", "x", kLocalVariable);
    const size_t keywords = store.TableRows(KeywordTable::Main).size();
    for (const KeywordTable shared : {KeywordTable::Main, KeywordTable::Function})
        EXPECT_THROW(ScanDeclarations(store, shared, "Dim a"), std::invalid_argument);
    EXPECT_EQ(store.TableRows(KeywordTable::Main).size(), keywords);
    EXPECT_EQ(store.TableRows(KeywordTable::Other).size(), 1u);  // not emptied either
}
