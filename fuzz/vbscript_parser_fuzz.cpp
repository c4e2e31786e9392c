// Any bytes parsed as a page (GBK and UTF-8) and as one piece of code: every
// node and error must lie in the text, children must form a tree (each node
// reached once from the root), and the dump must finish. The page parsed
// from tokens lexed piece by piece (as qasp check does for shared files)
// must give the same tree and errors.
#include "vbscript/parser.h"
#include "vbscript/tree_dump.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckResult(const qasp::vbs::ParseResult &r, size_t size)
{
    using qasp::vbs::kNoNode;
    using qasp::vbs::NodeId;
    const qasp::vbs::SyntaxTree &tree = r.tree;
    for (const qasp::vbs::Node &n : tree.nodes)
        Check(n.span.begin <= n.span.end && n.span.end <= size && n.span.line >= 1 && n.span.column >= 1);
    for (const qasp::vbs::Diagnostic &d : r.diagnostics)
        Check(d.offset <= d.endOffset && d.endOffset <= size && d.line >= 1);
    Check(r.diagnostics.size() <= qasp::vbs::kMaxDiagnostics);
    // Walked with a stack: a chain of operators is as deep as it is long.
    std::vector<uint8_t> seen(tree.nodes.size());
    std::vector<NodeId> stack{tree.root};
    while (!stack.empty()) {
        const NodeId id = stack.back();
        stack.pop_back();
        Check(id < tree.nodes.size() && !seen[id]);
        seen[id] = 1;
        for (NodeId c = tree[id].firstChild; c != kNoNode; c = tree[c].nextSibling)
            stack.push_back(c);
    }
    for (const NodeId id : tree.references)
        Check(id < tree.nodes.size());
    for (const qasp::vbs::Declaration &d : tree.declarations)
        Check(d.node < tree.nodes.size() && d.scope < tree.nodes.size());
    Check(!qasp::vbs::DumpTree(tree).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view page(reinterpret_cast<const char *>(data), size);
    for (const qasp::TextEncoding encoding : {qasp::TextEncoding::Gbk, qasp::TextEncoding::Utf8}) {
        const qasp::vbs::ParseResult lexed = qasp::vbs::ParseFile(page, 0, encoding);
        CheckResult(lexed, size);
        const std::vector<qasp::vbs::SourcePiece> pieces = qasp::vbs::PiecesOfFile(page, 0, encoding);
        std::vector<std::vector<qasp::vbs::Token>> tokens;
        tokens.reserve(pieces.size());
        for (const qasp::vbs::SourcePiece &p : pieces)
            tokens.push_back(qasp::vbs::LexPiece(p));
        const qasp::vbs::PieceTokens given = [&](size_t i) {
            return std::span<const qasp::vbs::Token>(tokens[i]);
        };
        const qasp::vbs::ParseResult fromTokens = qasp::vbs::ParsePage(pieces, given);
        Check(qasp::vbs::DumpTree(fromTokens.tree) == qasp::vbs::DumpTree(lexed.tree));
        Check(fromTokens.diagnostics.size() == lexed.diagnostics.size());
        for (size_t i = 0; i < lexed.diagnostics.size(); ++i)
            Check(fromTokens.diagnostics[i].offset == lexed.diagnostics[i].offset
                  && fromTokens.diagnostics[i].code == lexed.diagnostics[i].code);
    }
    const qasp::vbs::SourcePiece code{qasp::vbs::PieceKind::Code, page, 0, 0, 1, 1, qasp::TextEncoding::Gbk};
    CheckResult(qasp::vbs::ParsePage({&code, 1}), size);
    return 0;
}
