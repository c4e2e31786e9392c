// Expressions, by precedence climbing. From the loosest: Imp, Eqv, Xor, Or,
// And, Not, the comparisons and Is, &, + and -, Mod, \, * and /, unary minus,
// ^. Every bracket and prefix operator counts against the nesting limit.
#include "vbscript/parser_core.h"

namespace qasp::vbs {

namespace {

// Not (6) takes what binds tighter than itself, the comparisons up; unary
// minus (13) what binds tighter, ^ alone.
constexpr int kComparisonPrecedence = 7;
constexpr int kPowerPrecedence = 14;

int BinaryPrecedence(TokenKind k)
{
    switch (k) {
    case TokenKind::Imp: return 1;
    case TokenKind::Eqv: return 2;
    case TokenKind::Xor: return 3;
    case TokenKind::Or: return 4;
    case TokenKind::And: return 5;
    case TokenKind::Equal:
    case TokenKind::NotEqual:
    case TokenKind::Less:
    case TokenKind::Greater:
    case TokenKind::LessEqual:
    case TokenKind::GreaterEqual:
    case TokenKind::Is: return kComparisonPrecedence;
    case TokenKind::Ampersand: return 8;
    case TokenKind::Plus:
    case TokenKind::Minus: return 9;
    case TokenKind::Mod: return 10;
    case TokenKind::Backslash: return 11;
    case TokenKind::Star:
    case TokenKind::Slash: return 12;
    case TokenKind::Caret: return kPowerPrecedence;
    default: return 0;
    }
}

}  // namespace

NodeId Parser::ParseExpression()
{
    return ParseBinary(1);
}

NodeId Parser::ParseBinary(int minPrecedence)
{
    return ParseBinaryRest(ParseUnary(), minPrecedence);
}

NodeId Parser::ParseBinaryRest(NodeId lhs, int minPrecedence)
{
    for (;;) {
        const int p = BinaryPrecedence(tok_.kind);
        if (p == 0 || p < minPrecedence)
            return lhs;
        const Token op = tok_;
        Advance();
        // All binary operators are left-associative, ^ too: 2^3^2 is 64.
        lhs = MakeBinary(op, lhs, ParseBinary(p + 1));
    }
}

NodeId Parser::MakeBinary(const Token &op, NodeId lhs, NodeId rhs)
{
    const NodeId n = NewNode(NodeKind::Binary, op);
    N(n).op = static_cast<uint8_t>(op.kind);
    N(n).span = N(lhs).span;
    N(n).text = op.text;
    Finish(n);
    const size_t mark = Mark();
    Push(lhs);
    Push(rhs);
    LinkChildren(n, mark);
    return n;
}

// Not takes a comparison and what binds tighter; unary minus binds tighter
// than every operator but ^, so -2^2 is -4 and 2^-2 is a quarter.
NodeId Parser::ParseUnary()
{
    if (!At(TokenKind::Not) && !At(TokenKind::Minus) && !At(TokenKind::Plus))
        return ParsePostfix(ParsePrimary());
    const Token op = tok_;
    if (!Enter())
        return ErrorNode();
    Advance();
    const NodeId operand = ParseBinary(op.kind == TokenKind::Not ? kComparisonPrecedence : kPowerPrecedence);
    Leave();
    const NodeId n = NewNode(NodeKind::Unary, op);
    N(n).op = static_cast<uint8_t>(op.kind);
    Finish(n);
    const size_t mark = Mark();
    Push(operand);
    LinkChildren(n, mark);
    return n;
}

NodeId Parser::ParsePrimary()
{
    const Token t = tok_;
    auto leaf = [&](NodeKind kind) {
        Advance();
        return NewNode(kind, t);
    };
    switch (t.kind) {
    case TokenKind::Number:
    case TokenKind::HexNumber: return leaf(NodeKind::Number);
    case TokenKind::String: return leaf(NodeKind::String);
    case TokenKind::Date: return leaf(NodeKind::Date);
    case TokenKind::Empty: return leaf(NodeKind::Empty);
    case TokenKind::Null: return leaf(NodeKind::Null);
    case TokenKind::Nothing: return leaf(NodeKind::Nothing);
    case TokenKind::True: return leaf(NodeKind::True);
    case TokenKind::False: return leaf(NodeKind::False);
    case TokenKind::Me: return leaf(NodeKind::Me);
    case TokenKind::Identifier: {
        const NodeId n = leaf(NodeKind::Identifier);
        tree_.references.push_back(n);
        return n;
    }
    case TokenKind::Dot: {  // .Name inside With
        Advance();
        if (!At(TokenKind::Identifier)) {
            Report(CompileError::ExpectedIdentifier, tok_);
            return ErrorNode();
        }
        const NodeId n = NewNode(NodeKind::Member, t);
        N(n).text = tok_.text;
        Advance();
        Finish(n);
        return n;
    }
    case TokenKind::New: {
        Advance();
        if (!At(TokenKind::Identifier)) {
            Report(CompileError::ExpectedIdentifier, tok_);
            return ErrorNode();
        }
        const NodeId n = NewNode(NodeKind::New, t);
        N(n).text = tok_.text;
        Advance();
        Finish(n);
        return n;
    }
    case TokenKind::LeftParen: {
        if (!Enter())
            return ErrorNode();
        Advance();
        const NodeId inner = ParseExpression();
        if (!Accept(TokenKind::RightParen))
            Report(CompileError::ExpectedRightParen, tok_);
        Leave();
        const NodeId n = NewNode(NodeKind::Paren, t);
        Finish(n);
        const size_t mark = Mark();
        Push(inner);
        LinkChildren(n, mark);
        return n;
    }
    default: Report(CompileError::ExpectedExpression, tok_); return ErrorNode();
    }
}

// Member access (a dot right after the name: "a .b" passes .b to a) and
// calls or indexing, as many as follow.
NodeId Parser::ParsePostfix(NodeId lhs)
{
    const NodeKind k = N(lhs).kind;
    // "New Foo.Bar(1)" calls Bar of the new object (sites write "Call New
    // Foo.Run()" for a class used once); "New Foo(1)" stays an error.
    const bool newMember = k == NodeKind::New && At(TokenKind::Dot) && !(tok_.flags & kSpaceBefore);
    if (k != NodeKind::Identifier && k != NodeKind::Member && k != NodeKind::Me && k != NodeKind::Paren
        && !newMember)
        return lhs;
    for (;;) {
        if (At(TokenKind::Dot) && !(tok_.flags & kSpaceBefore)) {
            Advance();
            if (!At(TokenKind::Identifier)) {
                Report(CompileError::ExpectedIdentifier, tok_);
                return lhs;
            }
            const NodeId n = NewNode(NodeKind::Member, tok_);
            N(n).span = N(lhs).span;
            N(n).text = tok_.text;
            Advance();
            Finish(n);
            const size_t mark = Mark();
            Push(lhs);
            LinkChildren(n, mark);
            lhs = n;
        } else if (At(TokenKind::LeftParen)) {
            const Token open = tok_;
            const NodeId n = NewNode(NodeKind::Apply, open);
            N(n).span = N(lhs).span;
            N(n).text = {};
            const size_t mark = Mark();
            Push(lhs);
            ParseArguments();
            LinkChildren(n, mark);
            Finish(n);
            lastOpenParen_ = open;
            lhs = n;
        } else {
            return lhs;
        }
        if (panic_)
            return lhs;
    }
}

// "(a, , c)": pushes each argument (Missing where one is left out).
void Parser::ParseArguments()
{
    if (!Enter())
        return;
    Advance();  // (
    if (!At(TokenKind::RightParen)) {
        for (;;) {
            if (At(TokenKind::Comma) || At(TokenKind::RightParen)) {
                const NodeId missing = ErrorNode();
                N(missing).kind = NodeKind::Missing;
                Push(missing);
            } else {
                Push(ParseExpression());
            }
            if (panic_)
                break;
            if (!Accept(TokenKind::Comma))
                break;
        }
    }
    if (!panic_ && !Accept(TokenKind::RightParen))
        Report(CompileError::ExpectedRightParen, tok_);
    Leave();
}

// What a statement assigns to or calls: a name, Me or .name, with members
// and calls after it.
NodeId Parser::ParseTarget()
{
    if (!At(TokenKind::Identifier) && !At(TokenKind::Me) && !At(TokenKind::Dot)) {
        Report(CompileError::ExpectedIdentifier, tok_);
        return ErrorNode();
    }
    return ParsePostfix(ParsePrimary());
}

}  // namespace qasp::vbs
