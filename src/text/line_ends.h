// The line-end style of a file as the status bar shows it. A CR LF is one
// end; a CR or LF alone is another kind.
#pragma once

#include <string_view>

namespace qasp {

enum class LineEnds { CrLf, Lf, Cr, Mixed, None };

LineEnds DetectLineEnds(std::string_view bytes);

// "CRLF", "LF", "CR", "混合" (more than one kind), or "" for a file with no line end.
const char *LineEndsName(LineEnds ends);

}  // namespace qasp
