// The partner of the block keyword or bracket at the caret, for the editor
// to mark both: If and End If, For and Next, Do and Loop, While and Wend,
// Select Case and End Select, With, Class, Function, Sub and Property with
// their End, and ( with ). Lines are ASCII-compatible bytes (UTF-8 or GBK
// walked whole), the caret a byte column.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qasp {

struct TextSpan {
    int row;
    size_t column;
    size_t length;

    bool operator==(const TextSpan &) const = default;
};

// The keyword or bracket the caret touches (it stands on it or just after
// it) and its partner, in text order; empty when the caret touches none or
// the partner is missing.
std::vector<TextSpan> MatchingPair(const std::vector<std::string> &lines, int row, size_t column);

// Whether the caret touches a block keyword of its line: only then does
// MatchingPair need the lines around it (a bracket's partner is on its line).
bool TouchesBlockKeyword(const std::string &line, size_t column);

}  // namespace qasp
