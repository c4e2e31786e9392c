#include "vbscript/source_pieces.h"

#include "site/page_structure.h"
#include "vbscript/text_position.h"

#include <algorithm>

namespace qasp::vbs {

std::vector<SourcePiece> PiecesOfFile(std::string_view bytes, uint32_t file, TextEncoding encoding)
{
    return PiecesOfStructure(bytes, ScanPageStructure(bytes, encoding == TextEncoding::Gbk), file, encoding);
}

std::vector<SourcePiece> PiecesOfStructure(std::string_view bytes, const PageStructure &structure,
                                           uint32_t file, TextEncoding encoding)
{
    std::vector<SourcePiece> pieces;
    TextCursor cursor;
    for (const PageRegion &r : structure.regions) {
        PieceKind kind;
        switch (r.kind) {
        case RegionKind::Html:
        case RegionKind::ClientScript: kind = PieceKind::Html; break;
        case RegionKind::Script:
        case RegionKind::ServerScript: kind = PieceKind::Code; break;
        case RegionKind::Expression: kind = PieceKind::Output; break;
        default: continue;  // directives, other languages, includes
        }
        // A client script's text, tags and all, is output.
        size_t begin = kind == PieceKind::Html ? r.begin : r.codeBegin;
        // A UTF-8 file's byte-order mark is no output: the server takes it
        // for the file's encoding, and a page may still begin with Option
        // Explicit after it.
        if (begin == 0 && bytes.starts_with("\xEF\xBB\xBF"))
            begin = std::min<size_t>(3, r.end);
        const size_t end = kind == PieceKind::Html ? r.end : r.codeEnd;
        if (kind == PieceKind::Html && begin == end)
            continue;
        cursor.AdvanceTo(bytes, begin, encoding);
        pieces.push_back({kind, bytes.substr(begin, end - begin), file, static_cast<uint32_t>(begin),
                          cursor.line, cursor.column, encoding});
    }
    return pieces;
}

}  // namespace qasp::vbs
