#include "edit_expectation.h"

namespace qasp::sitecheck {
namespace {

// The length of the line break at `i`, 0 when there is none.
std::size_t BreakAt(std::string_view bytes, std::size_t i)
{
    if (bytes[i] == '\r')
        return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
    return bytes[i] == '\n' ? 1 : 0;
}

}  // namespace

std::size_t LineBreaksBefore(std::string_view bytes, std::size_t offset)
{
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < bytes.size() && i < offset;) {
        const std::size_t n = BreakAt(bytes, i);
        breaks += n ? 1 : 0;
        i += n ? n : 1;
    }
    return breaks;
}

std::string_view NewLineEnd(std::string_view bytes)
{
    bool crlf = false, lf = false, cr = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = BreakAt(bytes, i);
        if (n == 2)
            crlf = true;
        else if (n == 1)
            (bytes[i] == '\r' ? cr : lf) = true;
        i += n ? n : 1;
    }
    if (lf && !crlf && !cr)
        return "\n";
    if (cr && !crlf && !lf)
        return "\r";
    return "\r\n";
}

std::string WithLineInserted(std::string_view original, std::size_t lineIndex, std::string_view line)
{
    std::size_t at = 0;
    for (std::size_t breaks = 0; at < original.size() && breaks < lineIndex;) {
        const std::size_t n = BreakAt(original, at);
        breaks += n ? 1 : 0;
        at += n ? n : 1;
    }
    std::string out(original.substr(0, at));
    out += line;
    out += NewLineEnd(original);
    out += original.substr(at);
    return out;
}

}  // namespace qasp::sitecheck
