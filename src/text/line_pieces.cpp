#include "text/line_pieces.h"

#include <string>

namespace qasp {

bool ForEachLinePiece(std::istream &in, std::size_t block, const std::function<void(std::string_view)> &each)
{
    std::string buffer;
    std::size_t kept = 0;  // the start of a line the last block did not finish
    for (;;) {
        buffer.resize(kept + block);
        in.read(buffer.data() + kept, static_cast<std::streamsize>(block));
        if (in.bad())
            return false;
        const auto got = static_cast<std::size_t>(in.gcount());
        const std::size_t size = kept + got;
        if (got == 0) {
            if (size > 0)
                each(std::string_view(buffer.data(), size));
            return true;
        }
        std::size_t cut = size;
        for (; cut > 0; --cut) {
            const char c = buffer[cut - 1];
            if (c == '\n' || (c == '\r' && cut < size))
                break;
        }
        if (cut > 0)
            each(std::string_view(buffer.data(), cut));
        buffer.erase(0, cut);
        kept = size - cut;
    }
}

}  // namespace qasp
