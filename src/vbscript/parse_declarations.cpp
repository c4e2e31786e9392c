// Declarations: Dim, Public and Private variables, Const, ReDim, Sub,
// Function, Property and Class, with the engine's rules on where each may
// stand and on Default.
#include "vbscript/parser_core.h"

#include "vbscript/names.h"

namespace qasp::vbs {

namespace {

bool IsIntegerConstant(const Token &t)
{
    if (t.kind == TokenKind::HexNumber)
        return true;
    if (t.kind != TokenKind::Number)
        return false;
    for (const char c : t.text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool IsLiteral(TokenKind k)
{
    switch (k) {
    case TokenKind::String:
    case TokenKind::Number:
    case TokenKind::HexNumber:
    case TokenKind::Date:
    case TokenKind::True:
    case TokenKind::False:
    case TokenKind::Empty:
    case TokenKind::Null:
    case TokenKind::Nothing: return true;
    default: return false;
    }
}

}  // namespace

bool Parser::ExpectName(Token &name)
{
    if (At(TokenKind::Identifier)) {
        name = tok_;
        Advance();
        return true;
    }
    Report(At(TokenKind::Me) ? CompileError::InvalidUseOfMe : CompileError::ExpectedIdentifier, tok_);
    name = Token{};
    name.kind = TokenKind::Error;
    return false;
}

// Public or Private (and Default) before a procedure, a Const or variables.
NodeId Parser::ParseModified()
{
    const Token start = tok_;
    uint16_t flags = 0;
    if (Accept(TokenKind::Public))
        flags = kPublic;
    else if (Accept(TokenKind::Private))
        flags = kPrivate;
    Token defaultWord;
    const bool isDefault = AtWord("default");
    if (isDefault) {
        defaultWord = tok_;
        flags |= kDefault;
        Advance();
    }
    if (At(TokenKind::Sub) || At(TokenKind::Function) || At(TokenKind::Property))
        return ParseProcedure(start, flags, isDefault ? &defaultWord : nullptr);
    if (isDefault)
        Report(CompileError::DefaultOnlyOnProcedures, defaultWord);
    // Public and Private declare at the top of the page or of a class only.
    const BlockKind where = blocks_.back().kind;
    if (where != BlockKind::Program && where != BlockKind::Class)
        Report(CompileError::ExpectedStatement, start);
    if (At(TokenKind::Const))
        return ParseConst(start, flags);
    return ParseDim(start, flags);
}

// The variables of Dim, Public or Private: "a, b(3, 4), c()".
NodeId Parser::ParseDim(const Token &start, uint16_t flags)
{
    const NodeId n = NewNode(NodeKind::Dim, start);
    N(n).flags = flags;
    const size_t mark = Mark();
    for (;;) {
        Token name;
        if (!ExpectName(name))
            break;
        const NodeId v = NewNode(NodeKind::Var, name);
        const size_t m = Mark();
        if (Accept(TokenKind::LeftParen)) {
            if (Accept(TokenKind::RightParen)) {
                N(v).flags |= kArray;
            } else {
                for (;;) {
                    // Bounds are written as numbers: "Dim a(n)" is an error.
                    if (!IsIntegerConstant(tok_)) {
                        Report(CompileError::ExpectedIntegerConstant, tok_);
                        break;
                    }
                    Push(NewNode(NodeKind::Number, tok_));
                    Advance();
                    if (!Accept(TokenKind::Comma))
                        break;
                }
                if (!panic_ && !Accept(TokenKind::RightParen))
                    Report(CompileError::ExpectedRightParen, tok_);
            }
        }
        LinkChildren(v, m);
        Finish(v);
        Push(v);
        Declare(DeclarationKind::Variable, name, v);
        if (panic_ || !Accept(TokenKind::Comma))
            break;
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

// Const a = 1, b = "x": each value a literal, a number with its sign.
NodeId Parser::ParseConst(const Token &start, uint16_t flags)
{
    const NodeId n = NewNode(NodeKind::Const, start);
    N(n).flags = flags;
    Advance();  // Const
    const size_t mark = Mark();
    for (;;) {
        Token name;
        if (!ExpectName(name))
            break;
        const NodeId item = NewNode(NodeKind::ConstItem, name);
        const size_t m = Mark();
        if (!panic_ && !Accept(TokenKind::Equal))
            Report(CompileError::ExpectedEquals, tok_);
        if (!panic_) {
            const Token sign = tok_;
            const bool signed_ = Accept(TokenKind::Minus) || Accept(TokenKind::Plus);
            const bool number = At(TokenKind::Number) || At(TokenKind::HexNumber);
            if (IsLiteral(tok_.kind) && (number || !signed_)) {
                NodeId value = ParsePrimary();
                if (signed_) {
                    const NodeId u = NewNode(NodeKind::Unary, sign);
                    N(u).op = static_cast<uint8_t>(sign.kind);
                    N(u).firstChild = value;
                    Finish(u);
                    value = u;
                }
                Push(value);
            } else {
                Report(CompileError::ExpectedLiteralConstant, tok_);
            }
        }
        LinkChildren(item, m);
        Finish(item);
        Push(item);
        Declare(DeclarationKind::Constant, name, item);
        if (panic_ || !Accept(TokenKind::Comma))
            break;
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

// ReDim [Preserve] a(n), b(x, y): each a Var with its new bounds. The names
// are uses (listed with the references): ReDim declares only where nothing
// else did.
NodeId Parser::ParseReDim()
{
    const NodeId n = NewNode(NodeKind::ReDim, tok_);
    Advance();
    if (AtWord("preserve")) {
        N(n).flags |= kPreserve;
        Advance();
    }
    const size_t mark = Mark();
    for (;;) {
        Token name;
        if (!ExpectName(name))
            break;
        const NodeId v = NewNode(NodeKind::Var, name);
        tree_.references.push_back(v);
        const size_t m = Mark();
        if (!At(TokenKind::LeftParen)) {
            Report(CompileError::ExpectedLeftParen, tok_);
        } else if (Enter()) {
            Advance();
            for (;;) {
                Push(ParseExpression());
                if (panic_ || !Accept(TokenKind::Comma))
                    break;
            }
            if (!panic_ && !Accept(TokenKind::RightParen))
                Report(CompileError::ExpectedRightParen, tok_);
            Leave();
        }
        LinkChildren(v, m);
        Finish(v);
        Push(v);
        if (panic_ || !Accept(TokenKind::Comma))
            break;
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

NodeId Parser::ParseProcedure(const Token &start, uint16_t flags, const Token *defaultWord)
{
    const Token keyword = tok_;
    Advance();
    NodeKind kind = keyword.kind == TokenKind::Sub ? NodeKind::Sub : NodeKind::Function;
    BlockKind block = keyword.kind == TokenKind::Sub ? BlockKind::Sub : BlockKind::Function;
    if (keyword.kind == TokenKind::Property) {
        block = BlockKind::Property;
        kind = NodeKind::PropertyGet;
        if (AtWord("let"))
            kind = NodeKind::PropertyLet;
        else if (AtWord("set") || At(TokenKind::Set))
            kind = NodeKind::PropertySet;
        else if (!AtWord("get"))
            Report(CompileError::ExpectedLetSetGet, tok_);
        if (!panic_)
            Advance();
    }
    const bool inClass = blocks_.back().kind == BlockKind::Class;
    if (!atLineStart_)
        Report(CompileError::MustBeFirstOnLine, start, false);
    if (keyword.kind == TokenKind::Property && !inClass)
        Report(CompileError::MustBeInsideClass, keyword, false);
    if (defaultWord) {
        if (!inClass)
            Report(CompileError::MustBeInsideClass, *defaultWord, false);
        else if (!(flags & kPublic))
            Report(CompileError::DefaultNeedsPublic, *defaultWord, false);
        else if (kind == NodeKind::PropertyLet || kind == NodeKind::PropertySet)
            Report(CompileError::DefaultOnlyOnPropertyGet, *defaultWord, false);
        else if (scopes_.back().hasDefault)
            Report(CompileError::MultipleDefaults, *defaultWord, false);
        scopes_.back().hasDefault = scopes_.back().hasDefault || inClass;
    }
    const NodeId n = NewNode(kind, start);
    N(n).flags = flags;
    Token name;
    const bool named = !panic_ && ExpectName(name);
    if (named) {
        N(n).text = name.text;
        static constexpr DeclarationKind kinds[] = {
            DeclarationKind::Sub, DeclarationKind::Function, DeclarationKind::PropertyGet,
            DeclarationKind::PropertyLet, DeclarationKind::PropertySet};
        Declare(kinds[int(kind) - int(NodeKind::Sub)], name, n);
    }
    PushScope(n);
    const size_t mark = Mark();
    const int params = !panic_ && At(TokenKind::LeftParen) ? ParseParams() : 0;
    if (named && inClass && params > 0
        && (NamesEqual(name.text, "class_initialize") || NamesEqual(name.text, "class_terminate")))
        Report(CompileError::InitializeTerminateArguments, name, false);
    if (named && params == 0 && (kind == NodeKind::PropertyLet || kind == NodeKind::PropertySet))
        Report(CompileError::LetSetNeedsArgument, name, false);
    if (named && inClass && block == BlockKind::Property)
        CheckProperty(kind, name, params);
    ExpectEndOfStatement();
    if (Enter()) {
        blocks_.push_back({block, {}});
        Push(ParseBody());
        blocks_.pop_back();
        Leave();
        if (!ClosesWith(keyword.kind))
            yielded_ = true;
    }
    PopScope();
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

// "(ByVal a, ByRef b, c())": pushes a Params node; returns the count.
int Parser::ParseParams()
{
    const NodeId list = NewNode(NodeKind::Params, tok_);
    Advance();
    const size_t mark = Mark();
    int count = 0;
    if (!At(TokenKind::RightParen)) {
        for (;;) {
            uint16_t flags = 0;
            if (Accept(TokenKind::ByVal))
                flags = kByVal;
            else if (Accept(TokenKind::ByRef))
                flags = kByRef;
            Token name;
            if (!ExpectName(name))
                break;
            const NodeId p = NewNode(NodeKind::Param, name);
            N(p).flags = flags;
            if (Accept(TokenKind::LeftParen)) {
                if (Accept(TokenKind::RightParen))
                    N(p).flags |= kArray;
                else
                    Report(CompileError::ExpectedRightParen, tok_);
            }
            Finish(p);
            Push(p);
            Declare(DeclarationKind::Parameter, name, p);
            ++count;
            if (panic_ || !Accept(TokenKind::Comma))
                break;
        }
    }
    if (!panic_ && !Accept(TokenKind::RightParen))
        Report(CompileError::ExpectedRightParen, tok_);
    LinkChildren(list, mark);
    Finish(list);
    Push(list);
    return count;
}

// A property's Let and Set take one argument more than its Get.
void Parser::CheckProperty(NodeKind kind, const Token &name, int params)
{
    Scope &cls = scopes_[scopes_.size() - 2];
    const TextEncoding encoding = (name.flags & kGbk) ? TextEncoding::Gbk : TextEncoding::Utf8;
    PropertyArity &a = cls.properties[FoldName(name.text, encoding)];
    (kind == NodeKind::PropertyGet ? a.get : kind == NodeKind::PropertyLet ? a.let : a.set) = params;
    const bool consistent = (a.get < 0 || a.let < 0 || a.let == a.get + 1)
                            && (a.get < 0 || a.set < 0 || a.set == a.get + 1)
                            && (a.let < 0 || a.set < 0 || a.let == a.set);
    if (!consistent)
        Report(CompileError::InconsistentPropertyArguments, name, false);
}

// Class Name, its members, End Class. No code runs in a class's body, and
// no HTML may stand there either.
NodeId Parser::ParseClass()
{
    const Token start = tok_;
    Advance();
    if (!atLineStart_)
        Report(CompileError::MustBeFirstOnLine, start, false);
    const NodeId n = NewNode(NodeKind::Class, start);
    Token name;
    if (ExpectName(name)) {
        N(n).text = name.text;
        Declare(DeclarationKind::Class, name, n);
    }
    ExpectEndOfStatement();
    const size_t mark = Mark();
    if (!Enter()) {
        LinkChildren(n, mark);
        return n;
    }
    blocks_.push_back({BlockKind::Class, {}});
    PushScope(n);
    bool lineStart = false;
    bool closed = false;
    for (;;) {
        if (panic_) {
            SkipToEndOfStatement();
            panic_ = false;
        }
        while (At(TokenKind::Newline) || At(TokenKind::Colon)) {
            lineStart = At(TokenKind::Newline);
            Advance();
        }
        atLineStart_ = lineStart;
        lineStart = false;
        yielded_ = false;
        if (At(TokenKind::EndOfInput) || At(TokenKind::Class)) {
            Report(CompileError::ExpectedEnd, tok_, false);
            break;
        }
        if (At(TokenKind::End)) {
            if ((closed = ClosesWith(TokenKind::Class)))
                break;
            Report(CompileError::ExpectedClass, Peek());
            continue;
        }
        NodeId member;
        const Token t = tok_;
        switch (t.kind) {
        case TokenKind::Public:
        case TokenKind::Private: member = ParseModified(); break;
        case TokenKind::Dim:
            Advance();
            member = ParseDim(t, 0);
            break;
        case TokenKind::Sub:
        case TokenKind::Function:
        case TokenKind::Property: member = ParseProcedure(t, 0, nullptr); break;
        case TokenKind::Const: member = ParseConst(t, 0); break;
        default:
            if (ClassifyCloser() == Closer::Procedure) {  // Default Function ...
                member = ParseModified();
                break;
            }
            Report(CompileError::ExpectedStatement, t);
            continue;
        }
        Push(member);
        if (!yielded_)
            ExpectEndOfStatement();
    }
    PopScope();
    blocks_.pop_back();
    Leave();
    yielded_ = !closed;
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

}  // namespace qasp::vbs
