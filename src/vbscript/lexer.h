// Splits a page's pieces into tokens, one at a time, positions counted in
// each piece's own file. Comments and line continuations (a " _" at a line's
// end) are skipped. Every piece ends in a Newline token, since the server
// ends a statement wherever a block ends; an HTML piece is one Html token
// and an output piece starts with OutputStart. Bad text becomes an Error
// token carrying its compile error; the lexer itself never stops.
#pragma once

#include "vbscript/source_pieces.h"
#include "vbscript/text_position.h"
#include "vbscript/token.h"

#include <functional>
#include <span>
#include <vector>

namespace qasp::vbs {

constexpr size_t kMaxIdentifierLength = 255;

// A piece's tokens depend on that piece alone: a caller that parses many
// pages sharing files lexes each piece once (LexPiece) and hands the tokens
// out by the piece's index in the page.
using PieceTokens = std::function<std::span<const Token>(size_t piece)>;

// Every token of `piece` as Next gives them, its closing Newline included.
std::vector<Token> LexPiece(const SourcePiece &piece);

class Lexer {
public:
    explicit Lexer(std::span<const SourcePiece> pieces);
    // Tokens from `tokens` (which must outlive the lexer), the same as lexed.
    Lexer(std::span<const SourcePiece> pieces, const PieceTokens *tokens);

    Token Next();

private:
    Token NextGiven();
    Token Make(TokenKind kind, size_t begin, size_t end, uint8_t flags);
    Token MakeError(int code, size_t begin, size_t end, uint8_t flags);
    Token LexCode(uint8_t flags);
    Token LexString(size_t begin, uint8_t flags);
    Token LexNumber(size_t begin, uint8_t flags);
    Token LexWord(size_t begin, uint8_t flags);
    Token LexBracketName(size_t begin, uint8_t flags);
    Token LexDelimited(size_t begin, char close, TokenKind kind, uint8_t flags);
    bool LexRadixNumber(size_t begin, uint8_t flags, Token &out);
    bool IsContinuation(size_t at) const;
    size_t LineEnd(size_t from) const;

    std::span<const SourcePiece> pieces_;
    size_t piece_ = 0;
    bool inPiece_ = false;
    std::string_view text_;
    size_t pos_ = 0;
    TextCursor cursor_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    bool afterDot_ = false;
    const PieceTokens *given_ = nullptr;
    std::span<const Token> pieceTokens_;
    size_t nextGiven_ = 0;
};

}  // namespace qasp::vbs
