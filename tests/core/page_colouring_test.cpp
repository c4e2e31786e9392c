#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "editor/page_colouring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qasp;
using C = ColourCategory;

namespace {

class PageColouringTest : public ::testing::Test {
protected:
    PageColouringTest()
    {
        store.ReplaceKeyword(KeywordTable::Public, "gTotal", "变量", kGlobalVariable);
        store.RefreshKeywords();
    }

    // Colours the lines one after the other, each from the state the line
    // before it ended in.
    void Colour(std::vector<std::string> page, TextEncoding encoding = TextEncoding::Utf8,
                PageState start = {})
    {
        lines = std::move(page);
        spans.clear();
        ends.clear();
        PageState state = start;
        for (const std::string &line : lines) {
            spans.emplace_back();
            state = ColourPageLine(line, state, store, encoding, spans.back());
            ends.push_back(state);
        }
    }

    // The category of the first byte of `piece` on line `row`.
    C At(size_t row, std::string_view piece, size_t nth = 0) const
    {
        size_t at = lines[row].find(piece);
        for (; nth > 0; --nth)
            at = lines[row].find(piece, at + 1);
        EXPECT_NE(at, std::string::npos) << piece;
        for (const ColourSpan &s : spans[row])
            if (at >= s.start && at < s.start + s.length)
                return s.category;
        ADD_FAILURE() << "no span at " << at;
        return C::Default;
    }

    KeywordStore store{":memory:"};
    std::vector<std::string> lines;
    std::vector<std::vector<ColourSpan>> spans;
    std::vector<PageState> ends;
};

}  // namespace

TEST_F(PageColouringTest, SpansCoverEveryByteOnceAndMergeNeighbours)
{
    Colour({R"(<p class="a">x &amp; y<%= gTotal %></p>)", "", "plain text only"});
    for (size_t row = 0; row < lines.size(); ++row) {
        size_t next = 0;
        for (size_t i = 0; i < spans[row].size(); ++i) {
            EXPECT_EQ(spans[row][i].start, next);
            if (i > 0) {
                EXPECT_NE(spans[row][i].category, spans[row][i - 1].category);
            }
            next += spans[row][i].length;
        }
        EXPECT_EQ(next, lines[row].size());
    }
    EXPECT_EQ(spans[2], (std::vector<ColourSpan>{{0, 15, C::Default}}));
}

TEST_F(PageColouringTest, HtmlPartsTakeTheirOwnCategories)
{
    Colour({R"(<p class="a" id=b>x &amp; y &nope <!-- note --> </p>)",
            R"(<%@ Language="VBScript" %><!-- #include file="a.asp" -->)"});
    EXPECT_EQ(At(0, "<p"), C::Tag);
    EXPECT_EQ(At(0, "class"), C::AttributeName);
    EXPECT_EQ(At(0, "\"a\""), C::AttributeValue);
    EXPECT_EQ(At(0, "b>"), C::AttributeValue);
    EXPECT_EQ(At(0, "x "), C::Default);
    EXPECT_EQ(At(0, "&amp;"), C::Entity);
    EXPECT_EQ(At(0, "&nope"), C::Default);
    EXPECT_EQ(At(0, "note"), C::HtmlComment);
    EXPECT_EQ(At(0, "</p>"), C::Tag);
    EXPECT_EQ(At(1, "<%@"), C::Delimiter);
    EXPECT_EQ(At(1, "Language"), C::Directive);
    EXPECT_EQ(At(1, "#include"), C::Directive);
    EXPECT_EQ(At(1, "-->"), C::Directive);
    EXPECT_EQ(ends.back(), PageState{});
}

TEST_F(PageColouringTest, VBScriptInsideBlocksUsesTheKeywordStore)
{
    Colour({R"(<b><% If gTotal > 1 Then x = "a%" ' done %> after</b>)"});
    EXPECT_EQ(At(0, "<%"), C::Delimiter);
    EXPECT_EQ(At(0, "If"), C::Keyword);
    EXPECT_EQ(At(0, "gTotal"), C::Global);
    EXPECT_EQ(At(0, "1"), C::Default);
    EXPECT_EQ(At(0, "\"a%\""), C::String);
    EXPECT_EQ(At(0, "' done"), C::Comment);
    // A comment ends where the block does.
    EXPECT_EQ(At(0, "%> after"), C::Delimiter);
    EXPECT_EQ(At(0, "after"), C::Default);
    EXPECT_EQ(At(0, "</b>"), C::Tag);

    Colour({"<% x = 1 : REM If gTotal %>If", "<% Remark = 1 %>"});
    EXPECT_EQ(At(0, "REM"), C::Comment);
    EXPECT_EQ(At(0, "gTotal"), C::Comment);
    EXPECT_EQ(At(0, "If", 1), C::Default);
    EXPECT_EQ(At(1, "Remark"), C::Default);
}

TEST_F(PageColouringTest, StatesCarryAcrossLines)
{
    Colour({"<!-- a comment", "If still comment -->If", "<a href=\"x\"", "  title='y", "z'>If", "<%",
            "If x Then ' note", "\"open string", "%>If"});
    EXPECT_EQ(At(1, "If"), C::HtmlComment);
    EXPECT_EQ(At(1, "If", 1), C::Default);
    EXPECT_EQ(ends[2].mode, PageMode::Tag);
    EXPECT_EQ(At(3, "title"), C::AttributeName);
    EXPECT_EQ(ends[3].phase, TagPhase::Quoted);
    EXPECT_EQ(At(4, "z'"), C::AttributeValue);
    EXPECT_EQ(At(4, "If"), C::Default);
    EXPECT_TRUE(ends[5].server);
    EXPECT_EQ(At(6, "If"), C::Keyword);
    EXPECT_EQ(At(6, "note"), C::Comment);
    // Strings and comments end at the line's end; the block does not.
    EXPECT_EQ(At(7, "open"), C::String);
    EXPECT_TRUE(ends[7].server);
    EXPECT_EQ(At(8, "If"), C::Default);
    EXPECT_EQ(ends[8], PageState{});
}

TEST_F(PageColouringTest, StatesPackIntoAnIntAndBack)
{
    Colour({"<script runat=server language='vbscript'", "><%= a", "<a b=\"c"});
    for (const PageState &s : ends) {
        EXPECT_GE(s.Pack(), 0);
        EXPECT_EQ(PageState::Unpack(s.Pack()), s);
    }
    EXPECT_EQ(PageState::Unpack(ServerCodeStart().Pack()), ServerCodeStart());
}

TEST_F(PageColouringTest, ServerScriptIsVBScriptAndClientScriptIsPlain)
{
    Colour({"<script runat=\"server\">", "If gTotal Then", "</script><script>", "if (a) x = '<%= gTotal %>';",
            "</script><style>p { color: red }</style>",
            "<script runat=server language=\"JScript\">If</script>",
            "<SCRIPT LANGUAGE=VBScript RUNAT=Server>If</SCRIPT>"});
    EXPECT_EQ(ends[0].mode, PageMode::ServerScript);
    EXPECT_EQ(At(1, "If"), C::Keyword);
    EXPECT_EQ(At(1, "gTotal"), C::Global);
    EXPECT_EQ(At(2, "</script>"), C::Tag);
    EXPECT_EQ(ends[2].mode, PageMode::ClientScript);
    EXPECT_EQ(At(3, "if"), C::ClientScript);
    // The server runs a block inside client script before sending it.
    EXPECT_EQ(At(3, "<%="), C::Delimiter);
    EXPECT_EQ(At(3, "gTotal"), C::Global);
    EXPECT_EQ(At(3, "';"), C::ClientScript);
    EXPECT_EQ(At(4, "color"), C::ClientStyle);
    EXPECT_EQ(At(4, "</style>"), C::Tag);
    EXPECT_EQ(At(5, "If"), C::ClientScript);
    EXPECT_EQ(At(6, "If"), C::Keyword);
    EXPECT_EQ(ends.back(), PageState{});
}

TEST_F(PageColouringTest, ServerCodeInsideAttributeValuesAndComments)
{
    Colour({R"(<a href="p.asp?id=<%= gTotal %>&amp;x">)", "<!-- <% If %> -->"});
    EXPECT_EQ(At(0, "p.asp"), C::AttributeValue);
    EXPECT_EQ(At(0, "gTotal"), C::Global);
    EXPECT_EQ(At(0, "&amp;x\""), C::AttributeValue);
    EXPECT_EQ(At(0, ">", 1), C::Tag);
    EXPECT_EQ(At(1, "If"), C::Keyword);
    EXPECT_EQ(At(1, "-->"), C::HtmlComment);
}

// The block ends where the server ends it: a "%>" in a string is text, one
// in a comment closes the block.
TEST_F(PageColouringTest, AClosingDelimiterInAStringIsText)
{
    Colour({R"(<% s = "%>" : If gTotal Then %><p>)", "<% ' note %><p>"});
    EXPECT_EQ(At(0, "\"%>"), C::String);
    EXPECT_EQ(At(0, "If"), C::Keyword);
    EXPECT_EQ(At(0, "%>", 1), C::Delimiter);
    EXPECT_EQ(At(0, "<p>"), C::Tag);
    EXPECT_EQ(At(1, "%>"), C::Delimiter);
    EXPECT_EQ(At(1, "<p>"), C::Tag);
}

TEST_F(PageColouringTest, AProcedureStartsInServerCode)
{
    Colour({"Function F(a)", "End Function"}, TextEncoding::Gbk, ServerCodeStart());
    EXPECT_EQ(At(0, "Function"), C::Keyword);
    EXPECT_EQ(At(1, "End"), C::Keyword);
}

TEST_F(PageColouringTest, MultibyteCharactersNeverSwallowLetters)
{
    // GBK 0x8149 is one character whose second byte is 'I': "If" after it is
    // not a word, the lone 'f' is.
    Colour({"<% x = \x81If ' \xD6\xD0\xCE\xC4 %>", "<% ' \xD6\xD0 If %>"}, TextEncoding::Gbk);
    EXPECT_EQ(At(0, "\x81"), C::Default);
    EXPECT_EQ(At(0, "' "), C::Comment);
    EXPECT_EQ(At(0, "\xD6\xD0"), C::Comment);
    EXPECT_EQ(At(1, "If"), C::Comment);
    for (const ColourSpan &s : spans[0])
        EXPECT_NE(s.start, lines[0].find("If") + 1) << "a span starts inside a character";
    // UTF-8: a Chinese word next to a keyword leaves the keyword whole.
    Colour({"<% 中If If中 ' 中文注释 %>"});
    EXPECT_EQ(At(0, "If"), C::Keyword);
    EXPECT_EQ(At(0, "If", 1), C::Keyword);
    EXPECT_EQ(At(0, "注释"), C::Comment);
}
