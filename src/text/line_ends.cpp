#include "text/line_ends.h"

namespace qasp {

LineEnds DetectLineEnds(std::string_view bytes)
{
    bool crLf = false, lf = false, cr = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lf = true;
        } else if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                crLf = true;
                ++i;
            } else {
                cr = true;
            }
        }
    }
    const int kinds = int(crLf) + int(lf) + int(cr);
    if (kinds > 1)
        return LineEnds::Mixed;
    return crLf ? LineEnds::CrLf : lf ? LineEnds::Lf : cr ? LineEnds::Cr : LineEnds::None;
}

const char *LineEndsName(LineEnds ends)
{
    switch (ends) {
    case LineEnds::CrLf: return "CRLF";
    case LineEnds::Lf: return "LF";
    case LineEnds::Cr: return "CR";
    case LineEnds::Mixed: return "混合";
    case LineEnds::None: break;
    }
    return "";
}

}  // namespace qasp
