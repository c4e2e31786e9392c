#include "vbscript/lexer.h"

#include "vbscript/compile_errors.h"

#include <algorithm>

namespace qasp::vbs {

namespace {

constexpr bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The full-width space the engine rejects; any other non-ASCII character may
// be part of a name.
bool IsWideSpace(std::string_view text, size_t at, TextEncoding encoding)
{
    if (encoding == TextEncoding::Gbk)
        return text.substr(at, 2) == "\xA1\xA1";
    return text.substr(at, 3) == "\xE3\x80\x80";
}

}  // namespace

Lexer::Lexer(std::span<const SourcePiece> pieces) : pieces_(pieces) {}

Lexer::Lexer(std::span<const SourcePiece> pieces, const PieceTokens *tokens) : pieces_(pieces), given_(tokens)
{
}

std::vector<Token> LexPiece(const SourcePiece &piece)
{
    Lexer lexer({&piece, 1});
    std::vector<Token> tokens;
    for (Token t = lexer.Next(); t.kind != TokenKind::EndOfInput; t = lexer.Next())
        tokens.push_back(t);
    return tokens;
}

Token Lexer::NextGiven()
{
    while (piece_ < pieces_.size()) {
        if (!inPiece_) {
            pieceTokens_ = (*given_)(piece_);
            nextGiven_ = 0;
            inPiece_ = true;
        }
        if (nextGiven_ < pieceTokens_.size())
            return pieceTokens_[nextGiven_++];
        ++piece_;
        inPiece_ = false;
    }
    // The end of input stands where the last piece's closing Newline does.
    Token t;
    if (!pieceTokens_.empty()) {
        t = pieceTokens_.back();
        t.kind = TokenKind::EndOfInput;
        t.flags = kSpaceBefore | (t.flags & kGbk);
    }
    return t;
}

Token Lexer::Make(TokenKind kind, size_t begin, size_t end, uint8_t flags)
{
    // Past the last piece (the end of input) positions stay in that piece.
    const SourcePiece &p = pieces_[std::min(piece_, pieces_.size() - 1)];
    Token t;
    t.kind = kind;
    t.flags = encoding_ == TextEncoding::Gbk ? uint8_t(flags | kGbk) : flags;
    t.file = p.file;
    t.begin = p.offset + static_cast<uint32_t>(begin);
    t.end = p.offset + static_cast<uint32_t>(end);
    cursor_.AdvanceTo(text_, begin, encoding_);
    t.line = cursor_.line;
    t.column = cursor_.column;
    cursor_.AdvanceTo(text_, end, encoding_);
    t.endLine = cursor_.line;
    t.endColumn = cursor_.column;
    t.text = text_.substr(begin, end - begin);
    afterDot_ = kind == TokenKind::Dot;
    return t;
}

Token Lexer::MakeError(int code, size_t begin, size_t end, uint8_t flags)
{
    Token t = Make(TokenKind::Error, begin, end, flags);
    t.error = static_cast<uint16_t>(code);
    return t;
}

Token Lexer::Next()
{
    if (given_)
        return NextGiven();
    while (piece_ < pieces_.size()) {
        const SourcePiece &p = pieces_[piece_];
        if (!inPiece_) {
            inPiece_ = true;
            text_ = p.text;
            pos_ = 0;
            cursor_ = {0, p.line, p.column};
            encoding_ = p.encoding;
            afterDot_ = false;
            if (p.kind == PieceKind::Html) {
                pos_ = text_.size();
                return Make(TokenKind::Html, 0, text_.size(), kSpaceBefore);
            }
            if (p.kind == PieceKind::Output)
                return Make(TokenKind::OutputStart, 0, 0, kSpaceBefore);
        }
        uint8_t flags = pos_ == 0 ? kSpaceBefore : 0;
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
            flags = kSpaceBefore;
        }
        if (pos_ < text_.size())
            return LexCode(flags);
        // The end of a piece ends its statement.
        Token t = Make(TokenKind::Newline, pos_, pos_, flags);
        ++piece_;
        inPiece_ = false;
        return t;
    }
    Token t;
    if (!pieces_.empty()) {
        t = Make(TokenKind::EndOfInput, text_.size(), text_.size(), kSpaceBefore);
        piece_ = pieces_.size();
    }
    return t;
}

size_t Lexer::LineEnd(size_t from) const
{
    const size_t at = text_.find_first_of("\r\n", from);
    return at == std::string_view::npos ? text_.size() : at;
}

bool Lexer::IsContinuation(size_t at) const
{
    size_t i = at + 1;
    while (i < text_.size() && IsBlank(text_[i]))
        ++i;
    return i == text_.size() || IsLineBreak(text_[i]);
}

Token Lexer::LexCode(uint8_t flags)
{
    for (;;) {
        const size_t begin = pos_;
        const char c = text_[pos_];
        const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
        auto one = [&](TokenKind kind, size_t length = 1) {
            pos_ += length;
            return Make(kind, begin, pos_, flags);
        };
        switch (c) {
        case '\r': return one(TokenKind::Newline, next == '\n' ? 2 : 1);
        case '\n': return one(TokenKind::Newline);
        case '\'': pos_ = LineEnd(pos_); break;
        case '"': return LexString(begin, flags);
        case ':': return one(TokenKind::Colon);
        case ',': return one(TokenKind::Comma);
        case '(': return one(TokenKind::LeftParen);
        case ')': return one(TokenKind::RightParen);
        case '+': return one(TokenKind::Plus);
        case '-': return one(TokenKind::Minus);
        case '*': return one(TokenKind::Star);
        case '/': return one(TokenKind::Slash);
        case '\\': return one(TokenKind::Backslash);
        case '^': return one(TokenKind::Caret);
        case '=':
            // "=<" and "=>" are the engine's old spellings of "<=" and ">="
            // (no expression starts with "<" or ">").
            if (next == '<')
                return one(TokenKind::LessEqual, 2);
            return next == '>' ? one(TokenKind::GreaterEqual, 2) : one(TokenKind::Equal);
        case '<':
            if (next == '>')
                return one(TokenKind::NotEqual, 2);
            return next == '=' ? one(TokenKind::LessEqual, 2) : one(TokenKind::Less);
        case '>': return next == '=' ? one(TokenKind::GreaterEqual, 2) : one(TokenKind::Greater);
        case '.':
            if (IsDigit(next))
                return LexNumber(begin, flags);
            return one(TokenKind::Dot);
        case '&': {
            Token t;
            if (LexRadixNumber(begin, flags, t))
                return t;
            return one(TokenKind::Ampersand);
        }
        case '#': return LexDelimited(begin, '#', TokenKind::Date, flags);
        case '[': return LexBracketName(begin, flags);
        case '_':
            if (!IsContinuation(pos_))
                return MakeError(int(CompileError::InvalidCharacter), begin, ++pos_, flags);
            // The line goes on after its break.
            pos_ = LineEnd(pos_);
            if (pos_ < text_.size())
                pos_ += (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ? 2 : 1;
            break;
        default:
            if (IsDigit(c))
                return LexNumber(begin, flags);
            if (IsAsciiLetter(c)
                || (static_cast<unsigned char>(c) >= 0x80 && !IsWideSpace(text_, pos_, encoding_))) {
                Token t = LexWord(begin, flags);
                if (t.kind != TokenKind::EndOfInput)
                    return t;
                break;  // Rem: a comment
            }
            pos_ += CharLength(text_, pos_, encoding_);
            return MakeError(int(CompileError::InvalidCharacter), begin, pos_, flags);
        }
        // Skipped a comment or a continuation: what follows.
        flags = kSpaceBefore;
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        if (pos_ == text_.size())
            return Next();
    }
}

Token Lexer::LexString(size_t begin, uint8_t flags)
{
    size_t i = begin + 1;
    for (;;) {
        if (i >= text_.size() || IsLineBreak(text_[i])) {
            pos_ = i;
            return MakeError(int(CompileError::UnterminatedString), begin, i, flags);
        }
        if (text_[i] == '"') {
            if (i + 1 < text_.size() && text_[i + 1] == '"') {
                i += 2;
                continue;
            }
            pos_ = i + 1;
            return Make(TokenKind::String, begin, pos_, flags);
        }
        ++i;
    }
}

Token Lexer::LexNumber(size_t begin, uint8_t flags)
{
    size_t i = begin;
    while (i < text_.size() && IsDigit(text_[i]))
        ++i;
    if (i < text_.size() && text_[i] == '.') {
        ++i;
        while (i < text_.size() && IsDigit(text_[i]))
            ++i;
    }
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
        size_t j = i + 1;
        if (j < text_.size() && (text_[j] == '+' || text_[j] == '-'))
            ++j;
        if (j >= text_.size() || !IsDigit(text_[j])) {
            pos_ = j;
            return MakeError(int(CompileError::InvalidNumber), begin, j, flags);
        }
        while (j < text_.size() && IsDigit(text_[j]))
            ++j;
        i = j;
    }
    pos_ = i;
    return Make(TokenKind::Number, begin, i, flags);
}

// &H1F and &O17, each with an optional trailing '&'. "&" before anything
// else is the operator.
bool Lexer::LexRadixNumber(size_t begin, uint8_t flags, Token &out)
{
    if (begin + 2 >= text_.size())
        return false;
    const char radix = text_[begin + 1];
    const bool hex = radix == 'h' || radix == 'H';
    if (!hex && radix != 'o' && radix != 'O')
        return false;
    auto isDigit = [hex](char c) { return hex ? IsHexDigit(c) : (c >= '0' && c <= '7'); };
    if (!isDigit(text_[begin + 2]))
        return false;
    size_t i = begin + 2;
    while (i < text_.size() && text_[i] == '0')
        ++i;
    const size_t significant = i;
    while (i < text_.size() && isDigit(text_[i]))
        ++i;
    // Past 32 bits the value cannot be held.
    const size_t digits = i - significant;
    const bool tooBig = hex ? digits > 8 : (digits > 11 || (digits == 11 && text_[significant] > '3'));
    if (i < text_.size() && text_[i] == '&')
        ++i;
    pos_ = i;
    out = tooBig ? MakeError(int(CompileError::InvalidNumber), begin, i, flags)
                 : Make(TokenKind::HexNumber, begin, i, flags);
    return true;
}

// Returns an EndOfInput token for Rem, whose comment it has skipped.
Token Lexer::LexWord(size_t begin, uint8_t flags)
{
    size_t i = begin;
    while (i < text_.size()) {
        const char c = text_[i];
        if (IsAsciiLetter(c) || IsDigit(c) || c == '_')
            ++i;
        else if (static_cast<unsigned char>(c) >= 0x80 && !IsWideSpace(text_, i, encoding_))
            i += CharLength(text_, i, encoding_);
        else
            break;
    }
    pos_ = i;
    const std::string_view word = text_.substr(begin, i - begin);
    if (word.size() > kMaxIdentifierLength)
        return MakeError(int(CompileError::IdentifierTooLong), begin, i, flags);
    // After a dot any word names a member: rs.Open, x.End, y.Rem.
    if (afterDot_)
        return Make(TokenKind::Identifier, begin, i, flags);
    if (word.size() == 3 && (word[0] | 0x20) == 'r' && (word[1] | 0x20) == 'e' && (word[2] | 0x20) == 'm') {
        pos_ = LineEnd(i);
        return {};
    }
    return Make(KeywordOf(word), begin, i, flags);
}

Token Lexer::LexBracketName(size_t begin, uint8_t flags)
{
    size_t i = begin + 1;
    while (i < text_.size() && text_[i] != ']' && !IsLineBreak(text_[i]))
        i += CharLength(text_, i, encoding_);
    if (i >= text_.size() || text_[i] != ']') {
        pos_ = begin + 1;
        return MakeError(int(CompileError::InvalidCharacter), begin, pos_, flags);
    }
    pos_ = i + 1;
    if (i - begin - 1 > kMaxIdentifierLength)
        return MakeError(int(CompileError::IdentifierTooLong), begin, pos_, flags);
    return Make(TokenKind::Identifier, begin, pos_, flags);
}

Token Lexer::LexDelimited(size_t begin, char close, TokenKind kind, uint8_t flags)
{
    size_t i = begin + 1;
    while (i < text_.size() && text_[i] != close && !IsLineBreak(text_[i]))
        ++i;
    if (i >= text_.size() || text_[i] != close) {
        pos_ = begin + 1;
        return MakeError(int(CompileError::InvalidCharacter), begin, pos_, flags);
    }
    pos_ = i + 1;
    return Make(kind, begin, pos_, flags);
}

}  // namespace qasp::vbs
