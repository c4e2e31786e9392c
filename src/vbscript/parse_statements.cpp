// Statements: assignments and calls, the control-flow blocks, and the small
// statements (Exit, On Error, Option Explicit, Randomize, Erase).
#include "vbscript/parser_core.h"

#include "vbscript/names.h"

namespace qasp::vbs {

namespace {

bool IsBlankText(std::string_view text)
{
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    return true;
}

}  // namespace

NodeId Parser::ParseStatement()
{
    const Token t = tok_;
    switch (t.kind) {
    case TokenKind::Html: {
        Advance();
        if (!IsBlankText(t.text))
            seenStatement_ = true;
        return NewNode(NodeKind::Html, t);
    }
    case TokenKind::Option: return ParseOption();
    default: break;
    }
    seenStatement_ = true;
    switch (t.kind) {
    case TokenKind::OutputStart: {
        Advance();
        const NodeId n = NewNode(NodeKind::Output, t);
        const size_t mark = Mark();
        Push(ParseExpression());
        LinkChildren(n, mark);
        Finish(n);
        return n;
    }
    case TokenKind::Identifier: {
        const TokenKind next = AtWord("default") ? Peek().kind : TokenKind::Identifier;
        if (next == TokenKind::Sub || next == TokenKind::Function || next == TokenKind::Property)
            return ParseModified();
        return ParseAssignOrInvoke();
    }
    case TokenKind::Dot:
    case TokenKind::Me: return ParseAssignOrInvoke();
    case TokenKind::Call: return ParseWordAndTarget(NodeKind::Call);
    case TokenKind::Set: return ParseSet();
    case TokenKind::Dim: Advance(); return ParseDim(t, 0);
    case TokenKind::Public:
    case TokenKind::Private: return ParseModified();
    case TokenKind::Const: return ParseConst(t, 0);
    case TokenKind::ReDim: return ParseReDim();
    case TokenKind::Erase: return ParseWordAndTarget(NodeKind::Erase);
    case TokenKind::Exit: return ParseExit();
    case TokenKind::For: return ParseFor();
    case TokenKind::Do: return ParseDo();
    case TokenKind::While:
        return ParseExpressionBlock(NodeKind::While, BlockKind::While, TokenKind::Wend, false);
    case TokenKind::If: return ParseIf();
    case TokenKind::Select: return ParseSelect();
    case TokenKind::With: return ParseExpressionBlock(NodeKind::With, BlockKind::With, TokenKind::With, true);
    case TokenKind::On: return ParseOn();
    case TokenKind::Randomize: return ParseRandomize();
    case TokenKind::Sub:
    case TokenKind::Function:
    case TokenKind::Property: return ParseProcedure(t, 0, nullptr);
    case TokenKind::Class: return ParseClass();
    default: Report(CompileError::ExpectedStatement, t); return ErrorNode();
    }
}

NodeId Parser::ParseAssignOrInvoke()
{
    const Token start = tok_;
    const NodeId target = ParseTarget();
    if (panic_ || !At(TokenKind::Equal))
        return MakeInvoke(start, target);
    if (N(target).kind == NodeKind::Me)
        Report(CompileError::InvalidUseOfMe, start);
    Advance();
    const NodeId value = ParseExpression();
    const NodeId n = NewNode(NodeKind::Assign, start);
    Finish(n);
    const size_t mark = Mark();
    Push(target);
    Push(value);
    LinkChildren(n, mark);
    return n;
}

// A call without Call: "foo a, b". "foo(a)" passes one argument in brackets,
// "foo (a) + 1, b" passes (a) + 1 and b; "foo(a, b)" is the engine's error.
NodeId Parser::MakeInvoke(const Token &start, NodeId target)
{
    const NodeId n = NewNode(NodeKind::Invoke, start);
    const size_t mark = Mark();
    const Node &t = N(target);
    if (panic_ || t.kind != NodeKind::Apply) {
        Push(target);
    } else {
        const NodeId callee = t.firstChild;
        const SourceSpan applied = t.span;
        Push(callee);
        size_t count = 0;
        NodeId only = kNoNode;
        for (NodeId a = N(callee).nextSibling; a != kNoNode; a = N(a).nextSibling, ++count)
            only = a;
        if (count == 0) {
            N(n).flags |= kEmptyParens;
        } else if (count == 1 && N(only).kind != NodeKind::Missing) {
            const NodeId paren = NewNode(NodeKind::Paren, lastOpenParen_);
            N(paren).span.end = applied.end;
            N(paren).span.endLine = applied.endLine;
            N(paren).span.endColumn = applied.endColumn;
            N(paren).firstChild = only;
            Push(AtEndOfStatement() ? paren : ParseBinaryRest(paren, 1));
            if (panic_ || !At(TokenKind::Comma)) {
                LinkChildren(n, mark);
                Finish(n);
                return n;
            }
        } else {
            Report(CompileError::ParenthesesCallingSub, lastOpenParen_);
            for (NodeId a = N(callee).nextSibling; a != kNoNode; a = N(a).nextSibling)
                Push(a);
        }
    }
    if (!panic_ && !AtEndOfStatement()) {
        // The arguments: any may be left out ("foo a, , c").
        if (At(TokenKind::Comma) && Mark() > mark + 1)  // after "(a) + 1"
            Advance();
        for (;;) {
            if (At(TokenKind::Comma) || AtEndOfStatement()) {
                const NodeId missing = ErrorNode();
                N(missing).kind = NodeKind::Missing;
                Push(missing);
            } else {
                Push(ParseExpression());
            }
            if (panic_ || !Accept(TokenKind::Comma))
                break;
        }
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

// "Call f(a)" and "Erase a": the word, then what it acts on. Call may also
// call a member of a new object: "Call New Foo.Run()".
NodeId Parser::ParseWordAndTarget(NodeKind kind)
{
    const NodeId n = NewNode(kind, tok_);
    Advance();
    const size_t mark = Mark();
    Push(kind == NodeKind::Call && At(TokenKind::New) ? ParsePostfix(ParsePrimary()) : ParseTarget());
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

NodeId Parser::ParseSet()
{
    const NodeId n = NewNode(NodeKind::Set, tok_);
    Advance();
    const size_t mark = Mark();
    const Token targetStart = tok_;
    const NodeId target = ParseTarget();
    Push(target);
    if (N(target).kind == NodeKind::Me)
        Report(CompileError::InvalidUseOfMe, targetStart);
    if (!panic_ && !Accept(TokenKind::Equal))
        Report(CompileError::ExpectedEquals, tok_);
    if (!panic_)
        Push(ParseExpression());
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

bool Parser::ClosesWith(TokenKind word)
{
    if (!At(TokenKind::End) || Peek().kind != word)
        return false;
    Advance();
    Advance();
    return true;
}

NodeId Parser::ParseIf()
{
    const Token start = tok_;
    const NodeId n = NewNode(NodeKind::If, start);
    const size_t mark = Mark();
    Advance();
    NodeId branch = NewNode(NodeKind::Then, start);
    size_t branchMark = Mark();
    Push(ParseExpression());
    if (!panic_ && !Accept(TokenKind::Then))
        Report(CompileError::ExpectedThen, tok_);
    bool block = At(TokenKind::Newline) || At(TokenKind::EndOfInput);
    if (panic_) {
        // A broken head: a block unless statements follow a Then.
        bool thenSeen = false;
        block = true;
        while (!AtEndOfStatement()) {
            if (thenSeen)
                block = false;
            thenSeen = At(TokenKind::Then);
            Advance();
        }
        panic_ = false;
    }
    if (!block) {
        N(n).flags |= kSingleLine;
        ++singleLine_;
        Push(ParseLineStatements());
        LinkChildren(branch, branchMark);
        Finish(branch);
        Push(branch);
        if (At(TokenKind::Else)) {
            const NodeId otherwise = NewNode(NodeKind::Else, tok_);
            Advance();
            const size_t m = Mark();
            Push(ParseLineStatements());
            LinkChildren(otherwise, m);
            Finish(otherwise);
            Push(otherwise);
        }
        // The engine takes an End If closing the line ("If a Then b End If"),
        // which sites write out of habit.
        ClosesWith(TokenKind::If);
        --singleLine_;
        LinkChildren(n, mark);
        Finish(n);
        return n;
    }
    if (singleLine_ > 0 || !Enter()) {
        // A block If cannot follow the Then of a single-line one.
        Report(CompileError::ExpectedStatement, tok_);
        LinkChildren(branch, branchMark);
        Push(branch);
        LinkChildren(n, mark);
        return n;
    }
    blocks_.push_back({BlockKind::If, {}});
    bool elseSeen = false;
    for (;;) {
        Push(ParseBody());
        LinkChildren(branch, branchMark);
        Finish(branch);
        Push(branch);
        if (At(TokenKind::ElseIf) || At(TokenKind::Else)) {
            if (elseSeen)
                Report(CompileError::ExpectedEnd, tok_, false);
            const bool isElse = At(TokenKind::Else);
            elseSeen = elseSeen || isElse;
            branch = NewNode(isElse ? NodeKind::Else : NodeKind::ElseIf, tok_);
            branchMark = Mark();
            Advance();
            if (!isElse) {
                Push(ParseExpression());
                if (!panic_ && !Accept(TokenKind::Then))
                    Report(CompileError::ExpectedThen, tok_);
            }
            continue;
        }
        if (!ClosesWith(TokenKind::If))
            yielded_ = true;
        break;
    }
    blocks_.pop_back();
    Leave();
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

NodeId Parser::ParseFor()
{
    const Token start = tok_;
    Advance();
    if (At(TokenKind::Each))
        return ParseForEach(start);
    const NodeId n = NewNode(NodeKind::For, start);
    const size_t mark = Mark();
    Token var = tok_;
    if (ExpectName(var)) {
        Push(NewNode(NodeKind::Identifier, var));
        tree_.references.push_back(scratch_.back());
        if (At(TokenKind::Dot) || At(TokenKind::LeftParen))
            Report(CompileError::InvalidForVariable, tok_);
    }
    if (!panic_ && !Accept(TokenKind::Equal))
        Report(CompileError::ExpectedEquals, tok_);
    if (!panic_)
        Push(ParseExpression());
    if (!panic_ && !Accept(TokenKind::To))
        Report(CompileError::ExpectedTo, tok_);
    if (!panic_)
        Push(ParseExpression());
    if (!panic_ && AtWord("step")) {
        const NodeId step = NewNode(NodeKind::Step, tok_);
        Advance();
        const size_t m = Mark();
        Push(ParseExpression());
        LinkChildren(step, m);
        Finish(step);
        Push(step);
    }
    ExpectEndOfStatement();
    return ParseLoopBody(n, mark, BlockKind::For, var);
}

NodeId Parser::ParseForEach(const Token &start)
{
    const NodeId n = NewNode(NodeKind::ForEach, start);
    const size_t mark = Mark();
    Advance();  // Each
    Token var = tok_;
    if (ExpectName(var)) {
        Push(NewNode(NodeKind::Identifier, var));
        tree_.references.push_back(scratch_.back());
    }
    if (!panic_ && !Accept(TokenKind::In))
        Report(CompileError::ExpectedIn, tok_);
    if (!panic_)
        Push(ParseExpression());
    ExpectEndOfStatement();
    return ParseLoopBody(n, mark, BlockKind::ForEach, var);
}

// The body of a For or For Each up to its Next. A loop inside another with
// the same control variable is the engine's error.
NodeId Parser::ParseLoopBody(NodeId n, size_t mark, BlockKind kind, const Token &var)
{
    if (var.kind == TokenKind::Identifier) {
        for (size_t i = blocks_.size(); i-- > 0 && !IsScopeBlock(blocks_[i].kind);)
            if ((blocks_[i].kind == BlockKind::For || blocks_[i].kind == BlockKind::ForEach)
                && NamesEqual(blocks_[i].forVariable, var.text)) {
                Report(CompileError::InvalidForVariable, var, false);
                break;
            }
    }
    if (Enter()) {
        blocks_.push_back({kind, var.kind == TokenKind::Identifier ? var.text : std::string_view()});
        Push(ParseBody());
        blocks_.pop_back();
        Leave();
        if (!Accept(TokenKind::Next))
            yielded_ = true;
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

NodeId Parser::ParseDo()
{
    const NodeId n = NewNode(NodeKind::Do, tok_);
    const size_t mark = Mark();
    Advance();
    bool condition = false;
    if (At(TokenKind::While) || At(TokenKind::Until)) {
        condition = true;
        if (At(TokenKind::Until))
            N(n).flags |= kUntil;
        Advance();
        Push(ParseExpression());
    } else if (!AtEndOfStatement()) {
        Report(CompileError::ExpectedWhileUntilOrEnd, tok_);
    }
    ExpectEndOfStatement();
    if (Enter()) {
        blocks_.push_back({BlockKind::Do, {}});
        Push(ParseBody());
        blocks_.pop_back();
        Leave();
        if (Accept(TokenKind::Loop)) {
            if (At(TokenKind::While) || At(TokenKind::Until)) {
                if (condition) {
                    Report(CompileError::ExpectedEndOfStatement, tok_);
                } else {
                    N(n).flags |= kConditionAtLoop | (At(TokenKind::Until) ? kUntil : 0);
                    Advance();
                    Push(ParseExpression());
                }
            } else if (!AtEndOfStatement()) {
                Report(CompileError::ExpectedWhileUntilOrEnd, tok_);
            }
        } else {
            yielded_ = true;
        }
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

// "While x ... Wend" and "With x ... End With": a word, an expression, a
// body, and the closer: `closer` alone (Wend), or after End.
NodeId Parser::ParseExpressionBlock(NodeKind kind, BlockKind block, TokenKind closer, bool afterEnd)
{
    const NodeId n = NewNode(kind, tok_);
    const size_t mark = Mark();
    Advance();
    Push(ParseExpression());
    ExpectEndOfStatement();
    if (Enter()) {
        blocks_.push_back({block, {}});
        Push(ParseBody());
        blocks_.pop_back();
        Leave();
        if (!(afterEnd ? ClosesWith(closer) : Accept(closer)))
            yielded_ = true;
    }
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

// Select Case x, then Case lists ("Case 1, 2") and Case Else. Nothing but
// Case may come before the first Case, HTML included.
NodeId Parser::ParseSelect()
{
    const NodeId n = NewNode(NodeKind::Select, tok_);
    const size_t mark = Mark();
    Advance();
    if (!Accept(TokenKind::Case))
        Report(CompileError::ExpectedCase, tok_);
    if (!panic_)
        Push(ParseExpression());
    ExpectEndOfStatement();
    if (!Enter()) {
        LinkChildren(n, mark);
        return n;
    }
    blocks_.push_back({BlockKind::Select, {}});
    bool elseSeen = false;
    for (;;) {
        if (panic_) {
            SkipToEndOfStatement();
            panic_ = false;
        }
        while (At(TokenKind::Newline) || At(TokenKind::Colon))
            Advance();
        if (At(TokenKind::Case)) {
            const Token caseWord = tok_;
            Advance();
            const bool isElse = Accept(TokenKind::Else);
            if (elseSeen)
                Report(CompileError::ExpectedEnd, caseWord, false);
            elseSeen = elseSeen || isElse;
            const NodeId c = NewNode(isElse ? NodeKind::CaseElse : NodeKind::Case, caseWord);
            const size_t m = Mark();
            while (!isElse && !panic_) {
                Push(ParseExpression());
                if (!Accept(TokenKind::Comma))
                    break;
            }
            // A statement may follow the list on its own line without a
            // colon: the engine runs "Case 0 Call Setup0", which sites ship.
            // Other dialects' ranges ("Case 1 To 5") end the statement early.
            if (At(TokenKind::To))
                ExpectEndOfStatement();
            Push(ParseBody());
            LinkChildren(c, m);
            Finish(c);
            Push(c);
            continue;
        }
        if (ClosesWith(TokenKind::Select))
            break;
        const Closer closer = ClassifyCloser();
        if (closer != Closer::None && OwnedOutside(closer)) {
            ReportMissingEnd(BlockKind::Select, closer);
            yielded_ = true;
            break;
        }
        Report(CompileError::ExpectedCase, tok_);
    }
    blocks_.pop_back();
    Leave();
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

NodeId Parser::ParseExit()
{
    const Token start = tok_;
    const NodeId n = NewNode(NodeKind::Exit, start);
    Advance();
    const TokenKind what = tok_.kind;
    if (what != TokenKind::Do && what != TokenKind::For && what != TokenKind::Function
        && what != TokenKind::Property && what != TokenKind::Sub) {
        Report(CompileError::InvalidExit, tok_);
        return n;
    }
    N(n).op = static_cast<uint8_t>(what);
    Advance();
    Finish(n);
    // Exit Do and Exit For leave a loop of the procedure they are in; Exit
    // Sub, Function and Property leave that procedure.
    bool valid = false;
    for (size_t i = blocks_.size(); i-- > 0;) {
        const BlockKind k = blocks_[i].kind;
        if (what == TokenKind::Do && k == BlockKind::Do)
            valid = true;
        if (what == TokenKind::For && (k == BlockKind::For || k == BlockKind::ForEach))
            valid = true;
        if (IsScopeBlock(k)) {
            valid = valid || (what == TokenKind::Sub && k == BlockKind::Sub)
                    || (what == TokenKind::Function && k == BlockKind::Function)
                    || (what == TokenKind::Property && k == BlockKind::Property);
            break;
        }
    }
    if (!valid)
        Report(CompileError::InvalidExit, start);
    return n;
}

NodeId Parser::ParseOn()
{
    const NodeId n = NewNode(NodeKind::OnErrorResumeNext, tok_);
    Advance();
    if (!AtWord("error")) {
        Report(CompileError::SyntaxError, tok_);
        return n;
    }
    Advance();
    if (AtWord("resume")) {
        Advance();
        if (!Accept(TokenKind::Next))
            Report(CompileError::SyntaxError, tok_);
    } else if (Accept(TokenKind::GoTo)) {
        N(n).kind = NodeKind::OnErrorGoTo0;
        if (At(TokenKind::Number) && tok_.text == "0")
            Advance();
        else
            Report(CompileError::SyntaxError, tok_);
    } else {
        Report(CompileError::SyntaxError, tok_);
    }
    Finish(n);
    return n;
}

// Option Explicit comes before every other statement of the page, HTML
// with text in it included.
NodeId Parser::ParseOption()
{
    const Token start = tok_;
    const NodeId n = NewNode(NodeKind::OptionExplicit, start);
    if (seenStatement_ || blocks_.back().kind != BlockKind::Program)
        Report(CompileError::ExpectedStatement, start);
    Advance();
    if (AtWord("explicit"))
        Advance();
    else
        Report(CompileError::SyntaxError, tok_);
    Finish(n);
    return n;
}

NodeId Parser::ParseRandomize()
{
    const NodeId n = NewNode(NodeKind::Randomize, tok_);
    Advance();
    const size_t mark = Mark();
    if (!AtEndOfStatement())
        Push(ParseExpression());
    LinkChildren(n, mark);
    Finish(n);
    return n;
}

}  // namespace qasp::vbs
