// What an editor that keeps track of its own changes reports: the lines
// touched since it last reported, as the bytes now standing between an
// unchanged head and an unchanged tail. The node turns this into the same
// edit a comparison of its whole text would give, reading only the lines.
#pragma once

#include "document/edit_history.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qasp {

struct ChangedLines {
    size_t before = 0;  // the size of the text the report is relative to
    size_t head = 0;    // bytes unchanged at the start
    size_t tail = 0;    // bytes unchanged at the end
    std::string bytes;  // what now stands between them
};

// DiffTexts(before, after), `after` being `before` with the bytes between
// `changed.head` and `changed.tail` replaced by `changed.bytes`. Nullopt when
// the report does not fit `before` (the editor and the text went apart).
std::optional<TextEdit> EditOfChangedLines(std::string_view before, const ChangedLines &changed);

}  // namespace qasp
