// What the parser reads: a page as the server compiles it, one piece after
// another. Server code (inside <% %> or a server <script> element), output
// expressions (<%= %>) and the HTML between them, each from the file it was
// written in, so that a page assembled from includes keeps every position in
// its own file. The texts are not copied: they must outlive the parse.
#pragma once

#include "text/text_encoding.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qasp {
struct PageStructure;
}

namespace qasp::vbs {

enum class PieceKind : uint8_t {
    Code,    // statements
    Output,  // one expression, written to the response
    Html,    // text written to the response as it is
};

struct SourcePiece {
    PieceKind kind = PieceKind::Code;
    std::string_view text;
    uint32_t file = 0;    // the caller's id of the file the text is in
    uint32_t offset = 0;  // byte offset of text's first byte in that file
    uint32_t line = 1;    // where text begins, from 1
    uint32_t column = 1;  // in characters, from 1
    TextEncoding encoding = TextEncoding::Utf8;
};

// One file's pieces, as the server splits it: <%@ %> directives and script in
// other languages are not VBScript and give no piece; include directives are
// left out (a caller with a site puts the included file's pieces there).
std::vector<SourcePiece> PiecesOfFile(std::string_view bytes, uint32_t file, TextEncoding encoding);

// The same for a structure already scanned (a page's, or an included .vbs
// file's, which is code throughout).
std::vector<SourcePiece> PiecesOfStructure(std::string_view bytes, const PageStructure &structure,
                                           uint32_t file, TextEncoding encoding);

}  // namespace qasp::vbs
