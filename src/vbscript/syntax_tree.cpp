#include "vbscript/syntax_tree.h"

#include "vbscript/names.h"

#include <utility>

namespace qasp::vbs {

std::vector<NodeId> SyntaxTree::Children(NodeId id) const
{
    std::vector<NodeId> out;
    for (NodeId c = nodes[id].firstChild; c != kNoNode; c = nodes[c].nextSibling)
        out.push_back(c);
    return out;
}

std::vector<const Declaration *> SyntaxTree::FindDeclarations(std::string_view name,
                                                              TextEncoding encoding) const
{
    std::vector<const Declaration *> out;
    for (const Declaration &d : declarations)
        if (NamesEqual(d.name, name, encoding))
            out.push_back(&d);
    return out;
}

Diagnostic DiagnosticAt(const SourceSpan &span, Severity severity, int code, std::string messageKey)
{
    Diagnostic d;
    d.file = span.file;
    d.offset = span.begin;
    d.endOffset = span.end;
    d.line = span.line;
    d.column = span.column;
    d.endLine = span.endLine;
    d.endColumn = span.endColumn;
    d.severity = severity;
    d.code = code;
    d.messageKey = std::move(messageKey);
    return d;
}

}  // namespace qasp::vbs
