// The lexer's units. Keywords are kinds of their own; the words the language
// reserves only in one place (Default, Error, Explicit, Get, Let, Preserve,
// Resume, Step) are identifiers, and the parser looks at their text.
#pragma once

#include <cstdint>
#include <string_view>

namespace qasp::vbs {

enum class TokenKind : uint8_t {
    EndOfInput,
    Newline,  // a line break, or the end of a piece
    Colon,
    Comma,
    LeftParen,
    RightParen,
    Dot,
    Identifier,  // also [any name]
    String,
    Number,       // decimal integer or float
    HexNumber,    // &H1F, &O17 (with an optional trailing &)
    Date,         // #1/2/2003#
    Html,         // a whole HTML piece
    OutputStart,  // the start of a <%= %> piece
    Error,        // text the lexer reported already
    // Operators.
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Ampersand,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    // Keywords.
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Exit,
    False,
    For,
    Function,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Loop,
    Me,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Private,
    Property,
    Public,
    Randomize,
    ReDim,
    Select,
    Set,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
};

constexpr bool IsKeyword(TokenKind k)
{
    return k >= TokenKind::And;
}

// A keyword spelled as the language reference spells it ("ElseIf").
std::string_view KeywordSpelling(TokenKind k);

// The keyword `word` is (any case), or Identifier.
TokenKind KeywordOf(std::string_view word);

enum TokenFlag : uint8_t {
    kSpaceBefore = 1,  // blanks (or a line start) right before the token
    kGbk = 2,          // from a GBK piece
};

struct Token {
    TokenKind kind = TokenKind::EndOfInput;
    uint8_t flags = 0;
    uint16_t error = 0;  // for an Error token: the compile error to report
    uint32_t file = 0;
    uint32_t begin = 0, end = 0;  // byte offsets in the file
    uint32_t line = 1, column = 1, endLine = 1, endColumn = 1;
    std::string_view text;
};

}  // namespace qasp::vbs
