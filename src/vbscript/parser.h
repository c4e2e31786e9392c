// Parses a page of VBScript as the server compiles it: every piece of code,
// output expression and HTML, from every file the page is assembled from, as
// one program. After an error the parser goes on at the next statement, so
// a page reports all its errors and still gives a whole tree.
#pragma once

#include "vbscript/diagnostic.h"
#include "vbscript/lexer.h"
#include "vbscript/source_pieces.h"
#include "vbscript/syntax_tree.h"

#include <span>
#include <string_view>
#include <vector>

namespace qasp::vbs {

// Brackets, operators and blocks nest at most this deep; deeper is reported
// (as the engine's "Out of memory") instead of overflowing the stack.
constexpr int kMaxNesting = 256;
// A page reports at most this many problems.
constexpr size_t kMaxDiagnostics = 1000;

struct ParseResult {
    SyntaxTree tree;
    std::vector<Diagnostic> diagnostics;  // in the order found
};

// The pieces in the order the server runs them. Their texts must outlive
// the result.
ParseResult ParsePage(std::span<const SourcePiece> pieces);

// The same, each piece's tokens taken from `tokens` (see PieceTokens).
ParseResult ParsePage(std::span<const SourcePiece> pieces, const PieceTokens &tokens);

// One file on its own, split by PiecesOfFile. `bytes` must outlive the result.
ParseResult ParseFile(std::string_view bytes, uint32_t file, TextEncoding encoding);

}  // namespace qasp::vbs
