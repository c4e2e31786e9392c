// Statements after one that never returns to its block: Response.End and
// Response.Redirect end the response, Exit leaves the block. Declarations
// after them are not flagged (the engine sets them up before running the
// page), nor blank HTML between script blocks.
#include "analysis/check_messages.h"
#include "analysis/page_checks.h"
#include "vbscript/names.h"

namespace qasp::analysis {

using vbs::Diagnostic;
using vbs::kNoNode;
using vbs::Node;
using vbs::NodeId;
using vbs::NodeKind;
using vbs::SyntaxTree;

namespace {

bool Blank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool IsResponseEnd(const SyntaxTree &tree, NodeId statement, const FileEncoding &encoding)
{
    const Node &s = tree[statement];
    NodeId callee = s.firstChild;
    if (s.kind == NodeKind::Call && callee != kNoNode && tree[callee].kind == NodeKind::Apply)
        callee = tree[callee].firstChild;
    if ((s.kind != NodeKind::Invoke && s.kind != NodeKind::Call) || callee == kNoNode)
        return false;
    const Node &member = tree[callee];
    if (member.kind != NodeKind::Member || member.firstChild == kNoNode)
        return false;
    const Node &object = tree[member.firstChild];
    const TextEncoding e = encoding(member.span.file);
    if (object.kind != NodeKind::Identifier || vbs::FoldName(object.text, e) != "response")
        return false;
    const std::string method = vbs::FoldName(member.text, e);
    return method == "end" || method == "redirect";
}

// Runs no code of its own where it stands.
bool Inert(const SyntaxTree &tree, NodeId statement)
{
    const Node &s = tree[statement];
    switch (s.kind) {
    case NodeKind::Html: return Blank(s.text);
    case NodeKind::Sub:
    case NodeKind::Function:
    case NodeKind::PropertyGet:
    case NodeKind::PropertyLet:
    case NodeKind::PropertySet:
    case NodeKind::Class:
    case NodeKind::Dim:
    case NodeKind::Const:
    case NodeKind::OptionExplicit: return true;
    default: return false;
    }
}

}  // namespace

std::vector<Diagnostic> CheckUnreachableCode(const SyntaxTree &tree, const FileEncoding &encoding)
{
    std::vector<Diagnostic> out;
    for (NodeId block = 0; block < tree.nodes.size(); ++block) {
        if (tree[block].kind != NodeKind::Body && tree[block].kind != NodeKind::Program)
            continue;
        bool ended = false;
        for (NodeId s = tree[block].firstChild; s != kNoNode; s = tree[s].nextSibling) {
            if (!ended) {
                ended = tree[s].kind == NodeKind::Exit || IsResponseEnd(tree, s, encoding);
                continue;
            }
            if (Inert(tree, s))
                continue;
            out.push_back(
                vbs::DiagnosticAt(tree[s].span, vbs::Severity::Warning, 0, std::string(kUnreachableCode)));
            break;
        }
    }
    return out;
}

}  // namespace qasp::analysis
