// Lines of many megabytes, as a generated or hostile page holds them: work
// that grew with the square of the line ran for hours on these, and ends in
// well under a second when it grows with the line. They run in a program of
// their own under a timeout (see tests/CMakeLists.txt): a hang guard, far
// above their time, not a measure of speed (bench/long_line_bench.cpp is).
#include "editor/declaration_scan.h"
#include "editor/keyword_store.h"
#include "editor/page_colouring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qasp;

namespace {

constexpr size_t kLineBytes = size_t{16} << 20;

std::string Repeated(std::string_view unit, size_t bytes)
{
    std::string line;
    line.reserve(bytes + unit.size());
    while (line.size() < bytes)
        line += unit;
    return line;
}

class LongLineTest : public ::testing::Test {
protected:
    PageState Colour(std::string_view line)
    {
        spans.clear();
        return ColourPageLine(line, PageState{}, store, TextEncoding::Gbk, spans);
    }

    KeywordStore store{":memory:"};
    std::vector<ColourSpan> spans;
};

TEST_F(LongLineTest, QuotedAttributesColourInOnePass)
{
    const std::string line = Repeated("<a href=\"x\">y</a>", kLineBytes);
    EXPECT_EQ(Colour(line).mode, PageMode::Html);
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans.back().start + spans.back().length, line.size());
    EXPECT_EQ(spans[3], (ColourSpan{8, 3, ColourCategory::AttributeValue}));
}

// Each server block reopens the comment or the value, which then looks for
// its end again.
TEST_F(LongLineTest, ServerBlocksInAnOpenCommentOrValueColourInOnePass)
{
    for (const std::string_view opening : {"<!-- ", "<a href=\"", "<a href='"}) {
        const std::string line = std::string(opening) + Repeated("<%=a%>x", kLineBytes);
        const PageState end = Colour(line);
        EXPECT_TRUE(end.mode == PageMode::HtmlComment || end.mode == PageMode::Tag) << opening;
        EXPECT_FALSE(end.server) << opening;
        EXPECT_EQ(spans.back().category,
                  opening[1] == '!' ? ColourCategory::HtmlComment : ColourCategory::AttributeValue);
    }
}

TEST_F(LongLineTest, ALongDimLineScansInOnePass)
{
    // Blanks make the line long without making the store write much.
    const std::string line = "Dim " + Repeated("a" + std::string(30, ' ') + ",", kLineBytes) + " b";
    ScanDeclarations(store, KeywordTable::Public, line);
    const std::vector<KeywordRow> rows = store.TableRows(KeywordTable::Public);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "a");
    EXPECT_EQ(rows[1].name, "b");
}

}  // namespace
