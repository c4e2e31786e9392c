#include "vbscript/parser_core.h"

#include "vbscript/names.h"

namespace qasp::vbs {

ParseResult ParsePage(std::span<const SourcePiece> pieces)
{
    return Parser(pieces, nullptr).Run();
}

ParseResult ParsePage(std::span<const SourcePiece> pieces, const PieceTokens &tokens)
{
    return Parser(pieces, &tokens).Run();
}

ParseResult ParseFile(std::string_view bytes, uint32_t file, TextEncoding encoding)
{
    const std::vector<SourcePiece> pieces = PiecesOfFile(bytes, file, encoding);
    return ParsePage(pieces);
}

Parser::Parser(std::span<const SourcePiece> pieces, const PieceTokens *tokens) : lexer_(pieces, tokens)
{
    size_t bytes = 0;
    for (const SourcePiece &p : pieces)
        bytes += p.text.size();
    // About one node for every six bytes of code: no regrowth on most pages.
    tree_.nodes.reserve(bytes / 6 + 16);
    tree_.references.reserve(bytes / 16 + 16);
    tree_.declarations.reserve(bytes / 48 + 16);
    tok_ = lexer_.Next();
}

ParseResult Parser::Run()
{
    tree_.root = NewNode(NodeKind::Program, tok_);
    blocks_.push_back({BlockKind::Program, {}});
    PushScope(tree_.root);
    const size_t mark = Mark();
    ParseStatements(true);
    LinkChildren(tree_.root, mark);
    Finish(tree_.root);
    return {std::move(tree_), std::move(diagnostics_)};
}

// Tokens.

void Parser::Advance()
{
    prev_ = {tok_.file, tok_.end, tok_.endLine, tok_.endColumn};
    if (haveAhead_) {
        tok_ = ahead_;
        haveAhead_ = false;
    } else {
        tok_ = lexer_.Next();
    }
}

const Token &Parser::Peek()
{
    if (!haveAhead_) {
        ahead_ = lexer_.Next();
        haveAhead_ = true;
    }
    return ahead_;
}

bool Parser::AtWord(std::string_view word) const
{
    return tok_.kind == TokenKind::Identifier && NamesEqual(tok_.text, word);
}

bool Parser::Accept(TokenKind k)
{
    if (tok_.kind != k)
        return false;
    Advance();
    return true;
}

bool Parser::AtEndOfStatement()
{
    switch (tok_.kind) {
    case TokenKind::Newline:
    case TokenKind::Colon:
    case TokenKind::EndOfInput: return true;
    case TokenKind::Else: return singleLine_ > 0;
    case TokenKind::End: return singleLine_ > 0 && Peek().kind == TokenKind::If;
    default: return false;
    }
}

void Parser::ExpectEndOfStatement()
{
    if (!panic_ && !AtEndOfStatement())
        Report(CompileError::ExpectedEndOfStatement, tok_);
}

void Parser::SkipToEndOfStatement()
{
    while (!AtEndOfStatement())
        Advance();
}

// Problems. One error a statement: the first one found, as the engine
// reports it; the rest of the statement is skipped.

void Parser::Report(CompileError code, const Token &at, bool panic)
{
    if (panic_)
        return;
    panic_ = panic;
    // The lexer's own error is the one to report at a token it could not read.
    const int number = at.kind == TokenKind::Error ? at.error : int(code);
    ReportAt(number, SpanOf(at));
}

void Parser::Report(CompileError code, const Node &at, bool panic)
{
    if (panic_)
        return;
    panic_ = panic;
    ReportAt(int(code), at.span);
}

void Parser::ReportAt(int code, const SourceSpan &at, std::vector<RelatedPlace> related)
{
    if (diagnostics_.size() >= kMaxDiagnostics)
        return;
    // Blocks that all miss their end at the same token: the innermost tells.
    if (!diagnostics_.empty() && diagnostics_.back().file == at.file
        && diagnostics_.back().offset == at.begin)
        return;
    Diagnostic d = DiagnosticAt(at, Severity::Error, code, CompileErrorMessageKey(code));
    d.related = std::move(related);
    diagnostics_.push_back(std::move(d));
}

// Nodes.

NodeId Parser::NewNode(NodeKind kind, const Token &at)
{
    Node n;
    n.kind = kind;
    n.span = SpanOf(at);
    n.text = at.text;
    tree_.nodes.push_back(n);
    return static_cast<NodeId>(tree_.nodes.size() - 1);
}

void Parser::Finish(NodeId id)
{
    SourceSpan &s = N(id).span;
    if (prev_.file == s.file && prev_.end >= s.end) {
        s.end = prev_.end;
        s.endLine = prev_.endLine;
        s.endColumn = prev_.endColumn;
    }
}

void Parser::LinkChildren(NodeId parent, size_t mark)
{
    const size_t n = scratch_.size();
    N(parent).firstChild = n > mark ? scratch_[mark] : kNoNode;
    for (size_t i = mark; i < n; ++i)
        N(scratch_[i]).nextSibling = i + 1 < n ? scratch_[i + 1] : kNoNode;
    scratch_.resize(mark);
}

NodeId Parser::ErrorNode()
{
    Token at = tok_;
    at.end = at.begin;
    at.endLine = at.line;
    at.endColumn = at.column;
    at.text = {};
    return NewNode(NodeKind::Error, at);
}

bool Parser::Enter()
{
    if (depth_ >= kMaxNesting) {
        Report(CompileError::OutOfMemory, tok_);
        return false;
    }
    ++depth_;
    return true;
}

// Blocks.

Closer Parser::ClassifyCloser()
{
    switch (tok_.kind) {
    case TokenKind::End: return Closer::End;
    case TokenKind::Next: return Closer::Next;
    case TokenKind::Loop: return Closer::Loop;
    case TokenKind::Wend: return Closer::Wend;
    case TokenKind::Else: return Closer::Else;
    case TokenKind::ElseIf: return Closer::ElseIf;
    case TokenKind::Case: return Closer::Case;
    case TokenKind::EndOfInput: return Closer::EndOfInput;
    case TokenKind::Sub:
    case TokenKind::Function:
    case TokenKind::Property: return Closer::Procedure;
    case TokenKind::Class: return Closer::ClassStart;
    case TokenKind::Public:
    case TokenKind::Private: {
        const TokenKind next = Peek().kind;
        if (next == TokenKind::Sub || next == TokenKind::Function || next == TokenKind::Property
            || (next == TokenKind::Identifier && NamesEqual(Peek().text, "default")))
            return Closer::Procedure;
        return Closer::None;
    }
    case TokenKind::Identifier:
        if (AtWord("default")) {
            const TokenKind next = Peek().kind;
            if (next == TokenKind::Sub || next == TokenKind::Function || next == TokenKind::Property)
                return Closer::Procedure;
        }
        return Closer::None;
    default: return Closer::None;
    }
}

bool Parser::Owns(BlockKind block, Closer closer)
{
    if (closer == Closer::End) {
        const TokenKind word = Peek().kind;
        switch (block) {
        case BlockKind::If: return word == TokenKind::If;
        case BlockKind::Select: return word == TokenKind::Select;
        case BlockKind::With: return word == TokenKind::With;
        case BlockKind::Sub: return word == TokenKind::Sub;
        case BlockKind::Function: return word == TokenKind::Function;
        case BlockKind::Property: return word == TokenKind::Property;
        case BlockKind::Class: return word == TokenKind::Class;
        default: return false;
        }
    }
    switch (block) {
    case BlockKind::Program:
        return closer == Closer::EndOfInput || closer == Closer::Procedure || closer == Closer::ClassStart;
    case BlockKind::Class: return closer == Closer::Procedure;
    case BlockKind::If: return closer == Closer::Else || closer == Closer::ElseIf;
    case BlockKind::For:
    case BlockKind::ForEach: return closer == Closer::Next;
    case BlockKind::Do: return closer == Closer::Loop;
    case BlockKind::While: return closer == Closer::Wend;
    case BlockKind::Select: return closer == Closer::Case;
    default: return false;
    }
}

void Parser::ReportMissingEnd(BlockKind block, Closer closer)
{
    // "End Sub" inside an If: the If wanted "End If".
    if (closer == Closer::End) {
        static constexpr CompileError afterEnd[] = {
            CompileError::ExpectedStatement, CompileError::ExpectedClass,    CompileError::ExpectedSub,
            CompileError::ExpectedFunction,  CompileError::ExpectedProperty, CompileError::ExpectedIf,
            CompileError::ExpectedNext,      CompileError::ExpectedNext,     CompileError::ExpectedLoop,
            CompileError::ExpectedWend,      CompileError::ExpectedSelect,   CompileError::ExpectedWith,
        };
        Report(afterEnd[int(block)], Peek(), false);
        return;
    }
    CompileError code = CompileError::ExpectedEnd;
    if (block == BlockKind::For || block == BlockKind::ForEach)
        code = CompileError::ExpectedNext;
    else if (block == BlockKind::Do)
        code = CompileError::ExpectedLoop;
    else if (block == BlockKind::While)
        code = CompileError::ExpectedWend;
    Report(code, tok_, false);
}

void Parser::ReportStray(Closer closer)
{
    switch (closer) {
    case Closer::Next: Report(CompileError::UnexpectedNext, tok_); break;
    case Closer::Loop: Report(CompileError::LoopWithoutDo, tok_); break;
    case Closer::End:
        if (blocks_.back().kind != BlockKind::Program) {
            ReportMissingEnd(blocks_.back().kind, closer);
            panic_ = true;
            break;
        }
        [[fallthrough]];
    default: Report(CompileError::ExpectedStatement, tok_); break;
    }
}

bool Parser::OwnedOutside(Closer closer)
{
    for (size_t i = blocks_.size() - 1; i-- > 0;)
        if (Owns(blocks_[i].kind, closer))
            return true;
    return false;
}

// Whether the statement loop stops at the current token: at its own block's
// closer, or at an enclosing block's, which means this block lacks its end.
// A closer no open block wants is reported and skipped.
bool Parser::StopsBody()
{
    const Closer closer = ClassifyCloser();
    if (closer == Closer::None)
        return false;
    const BlockKind own = blocks_.back().kind;
    if ((closer == Closer::Procedure || closer == Closer::ClassStart) && own == BlockKind::Program)
        return false;  // a declaration at the top: parsed as a statement
    if (Owns(own, closer))
        return true;
    if (OwnedOutside(closer)) {
        ReportMissingEnd(own, closer);
        return true;
    }
    ReportStray(closer);
    SkipToEndOfStatement();
    panic_ = false;
    return false;
}

void Parser::ParseStatements(bool lineStart)
{
    for (;;) {
        if (panic_) {
            SkipToEndOfStatement();
            panic_ = false;
        }
        while (At(TokenKind::Newline) || At(TokenKind::Colon)) {
            lineStart = At(TokenKind::Newline);
            Advance();
        }
        if (StopsBody())
            return;
        if (AtEndOfStatement())
            continue;  // a stray closer was skipped
        atLineStart_ = lineStart;
        yielded_ = false;
        const NodeId s = ParseStatement();
        Push(s);
        if (!yielded_)
            ExpectEndOfStatement();
        lineStart = false;
    }
}

NodeId Parser::ParseBody()
{
    const NodeId body = NewNode(NodeKind::Body, tok_);
    const size_t mark = Mark();
    ParseStatements(false);
    LinkChildren(body, mark);
    Finish(body);
    return body;
}

// The statements after "Then" or "Else" of a single-line If, up to the
// line's end (or an Else of this If).
NodeId Parser::ParseLineStatements()
{
    const NodeId body = NewNode(NodeKind::Body, tok_);
    const size_t mark = Mark();
    for (;;) {
        if (panic_) {
            SkipToEndOfStatement();
            panic_ = false;
        }
        while (At(TokenKind::Colon))
            Advance();
        if (AtEndOfStatement())  // the line's end, Else, or End If
            break;
        switch (tok_.kind) {
        case TokenKind::For:
        case TokenKind::Do:
        case TokenKind::While:
        case TokenKind::Select:
        case TokenKind::With:
        case TokenKind::Sub:
        case TokenKind::Function:
        case TokenKind::Property:
        case TokenKind::Class:
            // Blocks need lines of their own.
            Report(CompileError::SyntaxError, tok_);
            continue;
        default: break;
        }
        atLineStart_ = false;
        yielded_ = false;
        Push(ParseStatement());
        ExpectEndOfStatement();
    }
    LinkChildren(body, mark);
    Finish(body);
    return body;
}

// Scopes.

void Parser::PopScope()
{
    for (size_t i = scopes_.back().firstAdded; i < added_.size(); ++i)
        added_[i]->pop_back();
    added_.resize(scopes_.back().firstAdded);
    scopes_.pop_back();
}

void Parser::Declare(DeclarationKind kind, const Token &name, NodeId node)
{
    const Scope &scope = scopes_.back();
    const TextEncoding encoding = (name.flags & kGbk) ? TextEncoding::Gbk : TextEncoding::Utf8;
    const bool property = kind == DeclarationKind::PropertyGet || kind == DeclarationKind::PropertyLet
                          || kind == DeclarationKind::PropertySet;
    const uint8_t bit = property ? uint8_t(1u << (int(kind) - int(DeclarationKind::PropertyGet))) : 0;
    NameStack &stack = names_[FoldName(name.text, encoding)];
    const bool added = stack.empty() || stack.back().scope != scopes_.size() - 1;
    if (added) {
        stack.push_back({scopes_.size() - 1, tree_.declarations.size()});
        added_.push_back(&stack);
    }
    ScopeName &entry = stack.back();
    // A Sub or Function declared again replaces the one before (the later
    // wins when the page runs, as sites that include a library twice rely
    // on); the page-wide checks warn about it.
    const bool procedure = kind == DeclarationKind::Sub || kind == DeclarationKind::Function;
    const bool replacesProcedure = procedure && entry.procedures && !entry.other;
    if (!added && !replacesProcedure
        && (!property || entry.other || entry.procedures || (entry.propertyKinds & bit))
        && diagnostics_.size() < kMaxDiagnostics) {
        // Get, Let and Set of one property share its name; nothing else may.
        const SourceSpan &at = tree_.declarations[entry.firstDeclaration].at;
        ReportAt(int(CompileError::NameRedefined), SpanOf(name),
                 {{at.file, at.begin, at.line, at.column, "vbscript.declared-here"}});
    }
    entry.propertyKinds |= bit;
    entry.procedures = entry.procedures || procedure;
    entry.other = entry.other || (!property && !procedure);
    tree_.declarations.push_back({kind, name.text, node, scope.node, SpanOf(name)});
}

}  // namespace qasp::vbs
