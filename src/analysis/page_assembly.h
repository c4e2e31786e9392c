// A page as the server compiles it: the pieces of the page and of every file
// its include directives bring in, in the order the server runs them, each
// piece in its own file at its own place. Directives are followed as the
// server follows them (file= from the including file's folder, virtual= from
// the site root, outside script only); a missing file or a cycle is
// reported at its directive and not followed.
#pragma once

#include "analysis/site_files.h"
#include "site/include_resolution.h"
#include "vbscript/diagnostic.h"
#include "vbscript/source_pieces.h"

#include <stdexcept>
#include <vector>

namespace qasp::analysis {

// An assembly would hold more than this many pieces: a fan-out of repeated
// inclusions that would fill memory.
constexpr size_t kMaxPagePieces = 1'000'000;

struct AssemblyError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where a piece of an assembled page comes from: a file and the piece's
// index among that file's pieces.
struct PieceOrigin {
    uint32_t file;
    uint32_t piece;
};

struct AssembledPage {
    std::vector<vbs::SourcePiece> pieces;
    std::vector<PieceOrigin> origins;              // one for each piece
    std::vector<vbs::Diagnostic> includeProblems;  // ASP 0126, 0131, 0135 at their directives
    std::vector<uint32_t> filesUsed;               // ids, each once, the page first
};

// `page` must already be open in `files`.
AssembledPage AssemblePage(uint32_t page, IncludeResolver &resolver, SiteFiles &files);

// Whether an include path climbs with "..", which servers refuse unless
// parent paths are enabled.
bool HasParentStep(std::string_view path);

}  // namespace qasp::analysis
