// Ctrl+/ on the caret's line or the selected lines: an apostrophe goes in at
// each line's first non-blank, or, when every non-blank line already starts
// with one there, comes out again. Blank lines are left as they are.
#pragma once

#include <string>
#include <vector>

namespace qasp {

class EditorSurface;

// The lines with their comment marks put in or taken out, as above.
std::vector<std::string> ToggledLineComments(const std::vector<std::string> &lines);

// Toggles the lines the selection touches (the caret's line without one) and
// returns their rows; a selection over lines ends up selecting them whole,
// the caret stays beside the character it was at.
std::pair<int, int> ToggleLineComments(EditorSurface &editor);

}  // namespace qasp
