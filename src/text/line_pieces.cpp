#include "text/line_pieces.h"

#include <algorithm>
#include <string>

namespace qasp {
namespace {

// The length of the longest line of `text`, line breaks not counted.
std::size_t LongestLine(std::string_view text)
{
    std::size_t longest = 0;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos)
            end = text.size();
        longest = std::max(longest, end - from);
        from = end + 1;
    }
    return longest;
}

}  // namespace

LinePieces ForEachLinePiece(std::istream &in, std::size_t block,
                            const std::function<void(std::string_view)> &each, std::size_t maxLine)
{
    // Only a piece longer than the limit can hold a line that is.
    const auto handOut = [&](std::string_view piece) {
        if (piece.size() > maxLine && LongestLine(piece) > maxLine)
            return false;
        each(piece);
        return true;
    };
    std::string buffer;
    std::size_t kept = 0;  // the start of a line the last block did not finish
    for (;;) {
        buffer.resize(kept + block);
        in.read(buffer.data() + kept, static_cast<std::streamsize>(block));
        if (in.bad())
            return LinePieces::ReadFailed;
        const auto got = static_cast<std::size_t>(in.gcount());
        const std::size_t size = kept + got;
        if (got == 0) {
            if (size > 0 && !handOut(std::string_view(buffer.data(), size)))
                return LinePieces::LineTooLong;
            return LinePieces::Done;
        }
        // The last line break; the kept bytes hold none but perhaps a CR at
        // their end, so only the new ones are searched (a long line is not
        // searched again with every block).
        const auto endsLine = [&](std::size_t at) {
            const char c = buffer[at - 1];
            return c == '\n' || (c == '\r' && at < size);
        };
        std::size_t cut = size;
        while (cut > kept && !endsLine(cut))
            --cut;
        if (cut == kept && !(kept > 0 && endsLine(kept)))
            cut = 0;
        if (cut > 0 && !handOut(std::string_view(buffer.data(), cut)))
            return LinePieces::LineTooLong;
        buffer.erase(0, cut);
        kept = size - cut;
        // A CR at the end may be the line's break, waiting for its LF.
        if (kept - (kept > 0 && buffer[kept - 1] == '\r' ? 1 : 0) > maxLine)
            return LinePieces::LineTooLong;
    }
}

}  // namespace qasp
