// Counting characters and lines the way every position in the parser does:
// a line ends at CR LF, LF or a lone CR; a column counts characters of the
// file's encoding (a GBK pair or a UTF-8 sequence is one).
#pragma once

#include "text/text_encoding.h"

#include <cstdint>
#include <string_view>

namespace qasp::vbs {

// The bytes of the character starting at text[at] (at least 1).
inline size_t CharLength(std::string_view text, size_t at, TextEncoding encoding)
{
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x80)
        return 1;
    if (encoding == TextEncoding::Gbk)
        return (c >= 0x81 && c <= 0xFE && at + 1 < text.size()) ? 2 : 1;
    size_t n = 1;
    while (at + n < text.size() && n < 4 && (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// A position that moves forward through a text, keeping its line and column.
struct TextCursor {
    size_t at = 0;
    uint32_t line = 1, column = 1;

    // Moves to `to` (not before `at`), counting the line breaks and
    // characters passed.
    void AdvanceTo(std::string_view text, size_t to, TextEncoding encoding)
    {
        while (at < to) {
            // Most bytes are printable ASCII: one column each.
            size_t run = at;
            while (run < to && static_cast<unsigned char>(text[run]) - 0x20u < 0x60u)
                ++run;
            column += static_cast<uint32_t>(run - at);
            at = run;
            if (at >= to)
                break;
            const char c = text[at];
            if (c == '\n' || c == '\r') {
                at += (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
                ++line;
                column = 1;
            } else {
                at += static_cast<unsigned char>(c) < 0x80 ? 1 : CharLength(text, at, encoding);
                ++column;
            }
        }
    }
};

}  // namespace qasp::vbs
