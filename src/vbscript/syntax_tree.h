// The parsed page: nodes in one vector, linked by index (first child, next
// sibling), each with its kind and where it is in its own file. Names and
// literals are views of the source pieces' text, which must outlive the tree.
// Declarations and the uses of names are listed besides, for tools that look
// names up (go to definition, undefined variables, rename).
#pragma once

#include "text/text_encoding.h"
#include "vbscript/diagnostic.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qasp::vbs {

using NodeId = uint32_t;
constexpr NodeId kNoNode = UINT32_MAX;

enum class NodeKind : uint8_t {
    Program,  // the page: its statements
    Body,     // the statements of a block
    // Statements.
    Html,       // an HTML piece, written out
    Output,     // <%= e %>: e
    Assign,     // target, value
    Set,        // target, value
    Call,       // Call e: e
    Invoke,     // a call without Call: callee, then the arguments
    Dim,        // Dim/Public/Private (flags): its Vars
    Var,        // a declared variable (text): its bounds
    Const,      // its ConstItems
    ConstItem,  // name (text): value
    ReDim,      // its Vars, each with bound expressions
    Erase,      // the array
    Exit,       // op: the TokenKind it leaves (Do, For, Function, Property, Sub)
    For,        // variable, from, to, [Step], Body
    Step,       // the step expression
    ForEach,    // variable, collection, Body
    Do,         // [condition], Body (flags: where the condition is, While or Until)
    While,      // condition, Body
    If,         // Then, ElseIfs, [Else]
    Then,       // condition, Body
    ElseIf,     // condition, Body
    Else,       // Body
    Select,     // subject, Cases, [CaseElse]
    Case,       // values, Body
    CaseElse,   // Body
    With,       // object, Body
    OnErrorResumeNext,
    OnErrorGoTo0,
    OptionExplicit,
    Randomize,  // [seed]
    Sub,        // name (text), Params, Body
    Function,
    PropertyGet,
    PropertyLet,
    PropertySet,
    Params,  // Param...
    Param,   // name (text); flags ByVal/ByRef/Array
    Class,   // name (text): members
    // Expressions.
    Identifier,  // a name used (text)
    Member,      // object.name (text); no child: .name inside With
    Apply,       // callee(arguments): a call or an index
    Missing,     // an argument left out: f(a, , c)
    String,      // text as written, quotes and all
    Number,      // text as written
    Date,
    Empty,
    Null,
    Nothing,
    True,
    False,
    Me,
    New,     // class name (text)
    Unary,   // op: Minus, Plus or Not
    Binary,  // op: the operator's TokenKind
    Paren,   // (e)
    Error,   // where an expression or statement could not be read
};

enum NodeFlag : uint16_t {
    kPublic = 1 << 0,
    kPrivate = 1 << 1,
    kDefault = 1 << 2,
    kPreserve = 1 << 3,
    kByVal = 1 << 4,
    kByRef = 1 << 5,
    kArray = 1 << 6,            // a Var or Param written with ()
    kSingleLine = 1 << 7,       // If a Then b Else c
    kUntil = 1 << 8,            // Do: Until, not While
    kConditionAtLoop = 1 << 9,  // Do ... Loop While c
    kEmptyParens = 1 << 10,     // Invoke: f()
};

// Where a node is: file and byte offsets, and lines and columns (characters)
// from 1. A statement that runs on into another file (an If closed in an
// include) ends at its first token.
struct SourceSpan {
    uint32_t file = 0;
    uint32_t begin = 0, end = 0;
    uint32_t line = 1, column = 1, endLine = 1, endColumn = 1;
};

// A diagnostic spanning `span`.
Diagnostic DiagnosticAt(const SourceSpan &span, Severity severity, int code, std::string messageKey);

struct Node {
    NodeKind kind = NodeKind::Error;
    uint8_t op = 0;  // a TokenKind for Unary, Binary and Exit
    uint16_t flags = 0;
    NodeId firstChild = kNoNode, nextSibling = kNoNode;
    SourceSpan span;
    std::string_view text;
};

enum class DeclarationKind : uint8_t {
    Variable,
    Constant,
    Parameter,
    Sub,
    Function,
    PropertyGet,
    PropertyLet,
    PropertySet,
    Class,
};

struct Declaration {
    DeclarationKind kind;
    std::string_view name;  // as written
    NodeId node;            // the Var, ConstItem, Param, procedure or Class
    NodeId scope;           // the Program, Class or procedure it belongs to
    SourceSpan at;          // the name's place
};

struct SyntaxTree {
    std::vector<Node> nodes;  // nodes[root] is the Program
    NodeId root = kNoNode;
    std::vector<Declaration> declarations;  // in source order
    std::vector<NodeId> references;         // Identifier nodes: names used

    const Node &operator[](NodeId id) const { return nodes[id]; }
    // The children of `id`, in order.
    std::vector<NodeId> Children(NodeId id) const;
    // The declarations named `name` (compared without case), in source order.
    std::vector<const Declaration *> FindDeclarations(std::string_view name,
                                                      TextEncoding encoding = TextEncoding::Utf8) const;
};

}  // namespace qasp::vbs
