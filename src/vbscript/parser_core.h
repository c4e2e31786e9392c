// The parser's state and its parts, shared by the files that parse
// expressions, statements and declarations. Internal to the library.
#pragma once

#include "vbscript/compile_errors.h"
#include "vbscript/lexer.h"
#include "vbscript/parser.h"

#include <string>
#include <unordered_map>

namespace qasp::vbs {

// What a block is, for the statements that close blocks and for Exit.
enum class BlockKind : uint8_t {
    Program,
    Class,
    Sub,
    Function,
    Property,
    If,
    For,
    ForEach,
    Do,
    While,
    Select,
    With,
};

constexpr bool IsScopeBlock(BlockKind k)
{
    return k == BlockKind::Sub || k == BlockKind::Function || k == BlockKind::Property
           || k == BlockKind::Class || k == BlockKind::Program;
}

// A token that may close a block, as the statement loop sees it.
enum class Closer : uint8_t {
    None,
    End,  // End and the word after it
    Next,
    Loop,
    Wend,
    Else,
    ElseIf,
    Case,
    Procedure,  // Sub, Function or Property (with Public, Private, Default)
    ClassStart,
    EndOfInput,
};

inline SourceSpan SpanOf(const Token &t)
{
    return {t.file, t.begin, t.end, t.line, t.column, t.endLine, t.endColumn};
}

class Parser {
public:
    // `tokens`: each piece's tokens lexed already, or null.
    Parser(std::span<const SourcePiece> pieces, const PieceTokens *tokens);
    ParseResult Run();

private:
    struct OpenBlock {
        BlockKind kind;
        std::string_view forVariable;  // For: its control variable
    };
    // A name declared in one of the open scopes.
    struct ScopeName {
        size_t scope;  // its index in scopes_
        size_t firstDeclaration;
        uint8_t propertyKinds = 0;  // bit per Get, Let, Set
        bool procedures = false;    // a Sub or Function
        bool other = false;         // anything but a property or procedure
    };
    // Every open scope's names in one table, innermost last for each name:
    // a procedure's locals (rs, i, sql) reuse the entries of the last one's.
    using NameStack = std::vector<ScopeName>;
    struct PropertyArity {
        int get = -1, let = -1, set = -1;
    };
    struct Scope {
        NodeId node;
        size_t firstAdded;  // in added_: the names this scope declared
        std::unordered_map<std::string, PropertyArity> properties;  // a class's
        bool hasDefault = false;
    };

    // Tokens (parser_core.cpp).
    void Advance();
    const Token &Peek();  // the token after the current one
    bool At(TokenKind k) const { return tok_.kind == k; }
    bool AtWord(std::string_view word) const;  // an identifier spelled so
    bool Accept(TokenKind k);
    bool AtEndOfStatement();  // Peeks for the End If that may close a single-line If
    void ExpectEndOfStatement();
    void SkipToEndOfStatement();

    // Problems.
    void Report(CompileError code, const Token &at, bool panic = true);
    void Report(CompileError code, const Node &at, bool panic = true);
    void ReportAt(int code, const SourceSpan &at, std::vector<RelatedPlace> related = {});

    // Nodes.
    NodeId NewNode(NodeKind kind, const Token &at);
    void Finish(NodeId id);  // ends the node at the last token read
    size_t Mark() const { return scratch_.size(); }
    void Push(NodeId child) { scratch_.push_back(child); }
    void LinkChildren(NodeId parent, size_t mark);
    Node &N(NodeId id) { return tree_.nodes[id]; }
    NodeId ErrorNode();

    // Nesting.
    bool Enter();  // false, reported, past kMaxNesting
    void Leave() { --depth_; }

    // Blocks.
    Closer ClassifyCloser();
    bool Owns(BlockKind block, Closer closer);
    bool StopsBody();
    void ReportMissingEnd(BlockKind block, Closer closer);
    void ReportStray(Closer closer);
    bool OwnedOutside(Closer closer);  // by a block enclosing the innermost
    NodeId ParseBody();
    void ParseStatements(bool lineStart);
    NodeId ParseLineStatements();

    // Scopes.
    void PushScope(NodeId node) { scopes_.push_back({node, added_.size(), {}, false}); }
    void PopScope();
    void Declare(DeclarationKind kind, const Token &name, NodeId node);

    // Statements (parse_statements.cpp).
    NodeId ParseStatement();
    NodeId ParseAssignOrInvoke();
    NodeId MakeInvoke(const Token &start, NodeId target);
    NodeId ParseWordAndTarget(NodeKind kind);
    NodeId ParseSet();
    NodeId ParseIf();
    NodeId ParseFor();
    NodeId ParseForEach(const Token &start);
    NodeId ParseLoopBody(NodeId n, size_t mark, BlockKind kind, const Token &var);
    NodeId ParseDo();
    NodeId ParseSelect();
    NodeId ParseExpressionBlock(NodeKind kind, BlockKind block, TokenKind closer, bool afterEnd);
    NodeId ParseExit();
    NodeId ParseOn();
    NodeId ParseOption();
    NodeId ParseRandomize();
    bool ClosesWith(TokenKind word);  // End word: consumed

    // Declarations (parse_declarations.cpp).
    NodeId ParseModified();
    NodeId ParseDim(const Token &start, uint16_t flags);
    NodeId ParseConst(const Token &start, uint16_t flags);
    NodeId ParseReDim();
    NodeId ParseProcedure(const Token &start, uint16_t flags, const Token *defaultWord);
    int ParseParams();
    void CheckProperty(NodeKind kind, const Token &name, int params);
    NodeId ParseClass();
    bool ExpectName(Token &name);

    // Expressions (parse_expressions.cpp).
    NodeId ParseExpression();
    NodeId ParseBinary(int minPrecedence);
    NodeId ParseBinaryRest(NodeId lhs, int minPrecedence);
    NodeId ParseUnary();
    NodeId ParsePrimary();
    NodeId ParsePostfix(NodeId lhs);
    NodeId ParseTarget();
    void ParseArguments();
    NodeId MakeBinary(const Token &op, NodeId lhs, NodeId rhs);

    Lexer lexer_;
    Token tok_;
    Token ahead_;
    bool haveAhead_ = false;
    struct TokenEnd {
        uint32_t file = 0, end = 0, endLine = 1, endColumn = 1;
    } prev_;  // where the last token read ends, for the ends of nodes
    SyntaxTree tree_;
    std::vector<Diagnostic> diagnostics_;
    std::vector<NodeId> scratch_;
    std::vector<OpenBlock> blocks_;
    std::vector<Scope> scopes_;
    std::unordered_map<std::string, NameStack> names_;
    std::vector<NameStack *> added_;
    int depth_ = 0;
    int singleLine_ = 0;       // inside a single-line If
    bool panic_ = false;       // this statement has an error: skip the rest
    bool yielded_ = false;     // the block just parsed left its closer to another
    bool atLineStart_ = true;  // the statement being parsed begins its line
    bool seenStatement_ = false;
    Token lastOpenParen_;  // of the outermost Apply just parsed
};

}  // namespace qasp::vbs
