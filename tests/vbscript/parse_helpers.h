// Parsing a snippet of code for the tests: its tree as an S-expression and
// its errors as "number@line:column".
#pragma once

#include "vbscript/parser.h"
#include "vbscript/tree_dump.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp::vbs::test {

inline ParseResult ParseCode(std::string_view code)
{
    const SourcePiece piece{PieceKind::Code, code, 0, 0, 1, 1, TextEncoding::Utf8};
    return ParsePage({&piece, 1});
}

// The statements' dump, without the program around them.
inline std::string Dump(std::string_view code)
{
    const ParseResult r = ParseCode(code);
    std::string out = DumpTree(r.tree);
    const std::string_view head = "(program";
    out = out.substr(head.size(), out.size() - head.size() - 1);
    return out.empty() ? out : out.substr(1);
}

inline std::string ErrorList(const std::vector<Diagnostic> &diagnostics)
{
    std::string out;
    for (const Diagnostic &d : diagnostics) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(d.code) + "@" + std::to_string(d.line) + ":" + std::to_string(d.column);
    }
    return out;
}

inline std::string Errors(std::string_view code)
{
    return ErrorList(ParseCode(code).diagnostics);
}

}  // namespace qasp::vbs::test
