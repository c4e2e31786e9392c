#include "vbscript/tree_dump.h"

#include "text/byte_string.h"
#include "vbscript/token.h"

#include <vector>

namespace qasp::vbs {

namespace {

std::string Lower(std::string_view s)
{
    return LowerAscii(s);
}

std::string OperatorName(uint8_t op)
{
    const auto kind = static_cast<TokenKind>(op);
    switch (kind) {
    case TokenKind::Plus: return "+";
    case TokenKind::Minus: return "-";
    case TokenKind::Star: return "*";
    case TokenKind::Slash: return "/";
    case TokenKind::Backslash: return "\\";
    case TokenKind::Caret: return "^";
    case TokenKind::Ampersand: return "&";
    case TokenKind::Equal: return "=";
    case TokenKind::NotEqual: return "<>";
    case TokenKind::Less: return "<";
    case TokenKind::Greater: return ">";
    case TokenKind::LessEqual: return "<=";
    case TokenKind::GreaterEqual: return ">=";
    default: return Lower(KeywordSpelling(kind));
    }
}

std::string Visibility(uint16_t flags)
{
    std::string s;
    if (flags & kPublic)
        s += " public";
    if (flags & kPrivate)
        s += " private";
    if (flags & kDefault)
        s += " default";
    return s;
}

// A node is a leaf (its text) or a list: "(head child...)". Some lists put
// words between their children (Do's While or Until).
struct Shape {
    std::string head;  // empty for a leaf
    std::string leaf;
};

Shape ShapeOf(const Node &n)
{
    const auto list = [](std::string head) { return Shape{std::move(head), {}}; };
    const auto leaf = [](std::string text) { return Shape{{}, std::move(text)}; };
    switch (n.kind) {
    case NodeKind::Program: return list("program");
    case NodeKind::Body: return list("body");
    case NodeKind::Html: return list("html");
    case NodeKind::Output: return list("output");
    case NodeKind::Assign: return list("assign");
    case NodeKind::Set: return list("set");
    case NodeKind::Call: return list("call");
    case NodeKind::Invoke: return list("invoke");
    case NodeKind::Dim:
        return list((n.flags & kPublic) ? "public" : (n.flags & kPrivate) ? "private" : "dim");
    case NodeKind::Var:
        if (n.firstChild == kNoNode)
            return leaf(std::string(n.text) + ((n.flags & kArray) ? "()" : ""));
        return list(std::string(n.text));
    case NodeKind::Const: return list("const" + Visibility(n.flags));
    case NodeKind::ConstItem: return list("= " + std::string(n.text));
    case NodeKind::ReDim: return list((n.flags & kPreserve) ? "redim preserve" : "redim");
    case NodeKind::Erase: return list("erase");
    case NodeKind::Exit: return list("exit " + OperatorName(n.op));
    case NodeKind::For: return list("for");
    case NodeKind::Step: return list("step");
    case NodeKind::ForEach: return list("for-each");
    case NodeKind::Do: return list("do");
    case NodeKind::While: return list("while");
    case NodeKind::If: return list((n.flags & kSingleLine) ? "if-line" : "if");
    case NodeKind::Then: return list("then");
    case NodeKind::ElseIf: return list("elseif");
    case NodeKind::Else: return list("else");
    case NodeKind::Select: return list("select");
    case NodeKind::Case: return list("case");
    case NodeKind::CaseElse: return list("case-else");
    case NodeKind::With: return list("with");
    case NodeKind::OnErrorResumeNext: return list("on-error-resume-next");
    case NodeKind::OnErrorGoTo0: return list("on-error-goto-0");
    case NodeKind::OptionExplicit: return list("option-explicit");
    case NodeKind::Randomize: return list("randomize");
    case NodeKind::Sub: return list("sub " + std::string(n.text) + Visibility(n.flags));
    case NodeKind::Function: return list("function " + std::string(n.text) + Visibility(n.flags));
    case NodeKind::PropertyGet: return list("property-get " + std::string(n.text) + Visibility(n.flags));
    case NodeKind::PropertyLet: return list("property-let " + std::string(n.text) + Visibility(n.flags));
    case NodeKind::PropertySet: return list("property-set " + std::string(n.text) + Visibility(n.flags));
    case NodeKind::Params: return list("params");
    case NodeKind::Param: {
        std::string name = std::string(n.text) + ((n.flags & kArray) ? "()" : "");
        if (n.flags & kByVal)
            return list("byval " + name);
        if (n.flags & kByRef)
            return list("byref " + name);
        return leaf(name);
    }
    case NodeKind::Class: return list("class " + std::string(n.text));
    case NodeKind::Identifier:
    case NodeKind::String:
    case NodeKind::Number:
    case NodeKind::Date: return leaf(std::string(n.text));
    case NodeKind::Member:
        if (n.firstChild == kNoNode)
            return list(". " + std::string(n.text));
        return list(".");
    case NodeKind::Apply: return list("apply");
    case NodeKind::Missing: return leaf("_");
    case NodeKind::Empty: return leaf("empty");
    case NodeKind::Null: return leaf("null");
    case NodeKind::Nothing: return leaf("nothing");
    case NodeKind::True: return leaf("true");
    case NodeKind::False: return leaf("false");
    case NodeKind::Me: return leaf("me");
    case NodeKind::New: return list("new " + std::string(n.text));
    case NodeKind::Unary:
    case NodeKind::Binary: return list(OperatorName(n.op));
    case NodeKind::Paren: return list("paren");
    case NodeKind::Error: return list("error");
    }
    return list("?");
}

std::string Position(const Node &n)
{
    return "@" + std::to_string(n.span.line) + ":" + std::to_string(n.span.column);
}

}  // namespace

// Walks with a stack of its own: a long chain of operators makes a tree as
// deep as the chain.
std::string DumpNode(const SyntaxTree &tree, NodeId from, DumpOptions options)
{
    struct Item {
        NodeId node;       // kNoNode: emit `text`
        const char *text;  // with a node: emit the node's name (a member's, after its object)
    };
    std::string out;
    std::vector<Item> stack{{from, nullptr}};
    std::vector<NodeId> children;
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        if (item.node == kNoNode) {
            out += item.text;
            continue;
        }
        if (item.text) {  // a member's name, after its object
            out += ' ';
            out += tree[item.node].text;
            continue;
        }
        const Node &n = tree[item.node];
        const Shape shape = ShapeOf(n);
        if (out.size() && out.back() != '(')
            out += ' ';
        if (shape.head.empty()) {
            out += shape.leaf;
            if (options.positions)
                out += Position(n);
            continue;
        }
        out += '(';
        out += shape.head;
        if (options.positions)
            out += Position(n);
        children.clear();
        for (NodeId c = n.firstChild; c != kNoNode; c = tree[c].nextSibling)
            children.push_back(c);
        stack.push_back({kNoNode, ")"});
        // Do's condition says where it stands and what it waits for.
        const bool doCondition = n.kind == NodeKind::Do && children.size() == 2;
        const char *word = (n.flags & kUntil) ? " until" : " while";
        for (size_t i = children.size(); i-- > 0;) {
            stack.push_back({children[i], nullptr});
            if (doCondition && (n.flags & kConditionAtLoop) && i == 1)
                stack.push_back({kNoNode, (n.flags & kUntil) ? " loop-until" : " loop-while"});
        }
        if (doCondition && !(n.flags & kConditionAtLoop))
            stack.push_back({kNoNode, word});
        if (n.kind == NodeKind::Member && !children.empty())
            stack.insert(stack.end() - static_cast<std::ptrdiff_t>(children.size()), {item.node, "name"});
        if (n.kind == NodeKind::Invoke && (n.flags & kEmptyParens))
            stack.insert(stack.end() - static_cast<std::ptrdiff_t>(children.size()), {kNoNode, " ()"});
    }
    return out;
}

}  // namespace qasp::vbs
