// The lexer: what is one token, what is skipped, and where each token is in
// its file, in characters of the file's encoding.
#include "vbscript/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qasp::vbs;
using qasp::TextEncoding;

namespace {

std::vector<Token> Lex(std::string_view code, TextEncoding encoding = TextEncoding::Utf8, uint32_t line = 1,
                       uint32_t column = 1)
{
    const SourcePiece piece{PieceKind::Code, code, 7, 100, line, column, encoding};
    Lexer lexer({&piece, 1});
    std::vector<Token> tokens;
    for (Token t = lexer.Next(); t.kind != TokenKind::EndOfInput; t = lexer.Next())
        tokens.push_back(t);
    return tokens;
}

// The tokens as "text" (or a name for line ends and errors).
std::string Texts(std::string_view code)
{
    std::string out;
    for (const Token &t : Lex(code)) {
        if (!out.empty())
            out += ' ';
        if (t.kind == TokenKind::Newline)
            out += "NL";
        else if (t.kind == TokenKind::Error)
            out += "E" + std::to_string(t.error);
        else
            out += std::string(t.text) + (t.kind == TokenKind::Identifier ? "/id" : "");
    }
    return out;
}

struct Case {
    const char *code;
    const char *tokens;
};

class Tokens : public testing::TestWithParam<Case> {};

TEST_P(Tokens, AreSplitAsTheEngineSplitsThem)
{
    EXPECT_EQ(Texts(GetParam().code), GetParam().tokens) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    All, Tokens,
    testing::Values(Case{"a = 1 ' note", "a/id = 1 NL"},
                    Case{"a\r\nb\rc\nd", "a/id NL b/id NL c/id NL d/id NL"},
                    Case{"Rem all of it\r\nx", "NL x/id NL"}, Case{"Remark", "Remark/id NL"},
                    Case{"x.Rem y", "x/id . Rem/id y/id NL"}, Case{"x.End", "x/id . End/id NL"},
                    Case{"IF a THEN", "IF a/id THEN NL"}, Case{"[End] [a b]", "[End]/id [a b]/id NL"},
                    Case{"a _\r\n  + b", "a/id + b/id NL"}, Case{"a _ \t\n+ b", "a/id + b/id NL"},
                    Case{"a_b _c", "a_b/id E1032 c/id NL"}, Case{"\"a\"\"b\" \"\"", "\"a\"\"b\" \"\" NL"},
                    Case{"1 1.5 .5 1E3 1.5e-3 3.", "1 1.5 .5 1E3 1.5e-3 3. NL"},
                    Case{"&H1F &h1f& &O17 &o0&", "&H1F &h1f& &O17 &o0& NL"}, Case{"a&Hz", "a/id & Hz/id NL"},
                    Case{"a & b&c", "a/id & b/id & c/id NL"}, Case{"#1/2/2003#", "#1/2/2003# NL"},
                    Case{"<> <= >= < > = ^ \\ / * - + ( ) , : .", "<> <= >= < > = ^ \\ / * - + ( ) , : . NL"},
                    Case{"a\xE3\x80\x80"
                         "b",
                         "a/id E1032 b/id NL"},
                    Case{"\xE4\xB8\xAD\xE6\x96\x87 = 1", "中文/id = 1 NL"},
                    Case{"x = 1 ' %> <% \" ", "x/id = 1 NL"}));

TEST(Lexer, CountsColumnsInCharactersOfTheFilesEncoding)
{
    // x = "中文" : y
    const std::vector<Token> utf8 = Lex("x = \"\xE4\xB8\xAD\xE6\x96\x87\" : y");
    EXPECT_EQ(utf8[4].text, "y");
    EXPECT_EQ(utf8[4].column, 12u);
    EXPECT_EQ(utf8[4].begin, 100u + 15u);
    EXPECT_EQ(utf8[2].endColumn, 9u);
    const std::vector<Token> gbk = Lex("x = \"\xD6\xD0\xCE\xC4\" : y", TextEncoding::Gbk);
    EXPECT_EQ(gbk[4].column, 12u);
    EXPECT_EQ(gbk[4].begin, 100u + 13u);
    EXPECT_TRUE(gbk[4].flags & kGbk);
    // A GBK pair whose second byte is "]" stays inside a bracketed name.
    const std::vector<Token> name = Lex("[\x81]] = 1", TextEncoding::Gbk);
    EXPECT_EQ(name[0].kind, TokenKind::Identifier);
    EXPECT_EQ(name[0].text, "[\x81]]");
}

TEST(Lexer, StartsWhereThePieceStartsInItsFile)
{
    const std::vector<Token> tokens = Lex("a\r\n  _\r\n b", TextEncoding::Utf8, 3, 7);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].file, 7u);
    EXPECT_EQ(tokens[0].line, 3u);
    EXPECT_EQ(tokens[0].column, 7u);
    EXPECT_EQ(tokens[1].kind, TokenKind::Newline);
    EXPECT_EQ(tokens[1].column, 8u);
    EXPECT_EQ(tokens[2].text, "b");
    EXPECT_EQ(tokens[2].line, 5u);
    EXPECT_EQ(tokens[2].column, 2u);
}

TEST(Lexer, MarksTheBlanksBeforeATokenForWithMembers)
{
    const std::vector<Token> tokens = Lex("a.b .c");
    EXPECT_FALSE(tokens[1].flags & kSpaceBefore);
    EXPECT_TRUE(tokens[3].flags & kSpaceBefore);
}

TEST(Lexer, GivesEachPieceItsOwnEndAndHtmlAsOneToken)
{
    const std::string html = "<p>\r\nhi</p>";
    const SourcePiece pieces[] = {{PieceKind::Code, "If a Then", 0, 2, 1, 3, TextEncoding::Utf8},
                                  {PieceKind::Html, html, 0, 13, 1, 14, TextEncoding::Utf8},
                                  {PieceKind::Output, " b ", 1, 3, 1, 4, TextEncoding::Utf8}};
    Lexer lexer(pieces);
    std::vector<Token> tokens;
    for (Token t = lexer.Next(); t.kind != TokenKind::EndOfInput; t = lexer.Next())
        tokens.push_back(t);
    std::vector<TokenKind> kinds(tokens.size());
    for (size_t i = 0; i < tokens.size(); ++i)
        kinds[i] = tokens[i].kind;
    EXPECT_EQ(kinds,
              (std::vector<TokenKind>{TokenKind::If, TokenKind::Identifier, TokenKind::Then,
                                      TokenKind::Newline, TokenKind::Html, TokenKind::Newline,
                                      TokenKind::OutputStart, TokenKind::Identifier, TokenKind::Newline}));
    EXPECT_EQ(tokens[4].endLine, 2u);
    EXPECT_EQ(tokens[4].endColumn, 7u);
    EXPECT_EQ(tokens[7].file, 1u);
    EXPECT_EQ(tokens[7].column, 5u);
}

}  // namespace
