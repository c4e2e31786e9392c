// What a file's bytes should be after one line is inserted into it, worked
// out on the file itself: every other byte stays, line ends included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qasp::sitecheck {

// The number of line breaks in `bytes` before `offset`: CR LF, a lone CR and
// a lone LF are one each, as the editor's node texts count them.
std::size_t LineBreaksBefore(std::string_view bytes, std::size_t offset);

// The line end a new line of `bytes` takes: the file's own when it uses one
// kind throughout, else (several kinds, or none) CR LF.
std::string_view NewLineEnd(std::string_view bytes);

// `original` with `line` and NewLineEnd(original) inserted at the start of
// its line `lineIndex` (0: before the first line). A file with fewer lines
// gets the line at its end.
std::string WithLineInserted(std::string_view original, std::size_t lineIndex, std::string_view line);

}  // namespace qasp::sitecheck
