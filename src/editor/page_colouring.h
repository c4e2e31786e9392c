// The colouring of a page line by line: a line is coloured from the state
// at its start (see page_state.h) and gives the state at its end, so an edit
// re-colours only the lines whose start state changed. HTML outside the
// server blocks, VBScript inside <% %>, <%= %> and <script runat="server">,
// its words looked up in the keyword store.
//
// Lines are bytes in the page's encoding and are walked by character: the
// second byte of a GBK character is never taken for an ASCII letter.
#pragma once

#include "editor/colour_category.h"
#include "editor/page_state.h"
#include "text/text_encoding.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qasp {

class KeywordStore;

struct ColourSpan {
    uint32_t start;
    uint32_t length;
    ColourCategory category;

    bool operator==(const ColourSpan &) const = default;
};

// Appends the spans of `line` (no line break in it) to `spans`: every byte
// covered once, neighbours of one category merged. Returns the state at the
// line's end.
PageState ColourPageLine(std::string_view line, PageState start, const KeywordStore &store,
                         TextEncoding encoding, std::vector<ColourSpan> &spans);

}  // namespace qasp
