// Node texts break their lines with CR LF, whatever the file does: the
// editor and every line rule of the program work on that. A file's own line
// ends are put back when it is written: every line the edits did not reach
// keeps the bytes it ended with in the file, so an unedited file comes back
// byte for byte, and a file with one style of line end keeps it throughout.
#pragma once

#include "text/line_ends.h"

#include <string>
#include <string_view>

namespace qasp {

// CR LF, a lone LF and a lone CR each become CR LF.
std::string NormaliseLineBreaks(std::string_view bytes);

// `normalised` (CR LF throughout) with its lines ended as in `original`
// where they are the same lines (the lines before the first change and
// after the last one); the changed lines end in `style` (CR LF for Mixed
// or None), and so does a final line that gained a break.
std::string RestoreLineBreaks(std::string_view normalised, std::string_view original, LineEnds style);

}  // namespace qasp
