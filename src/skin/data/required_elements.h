// What a skin must give before windows are framed with it: the four border
// pictures and a picture for the close, maximise and minimise buttons.
// Without them a window has no caption or no way to close it with the
// mouse, so a skin that lacks any of them (a truncated file, a description
// naming pictures it does not hold) is refused as a whole.
#pragma once

#include <string>
#include <vector>

namespace qasp::skin {

struct SkinModel;

// The missing parts by name ("Left", "Right", "Top", "Bottom", "close
// button", "maximise button", "minimise button"), in that order; empty for a
// model a window can wear. A picture counts only when each of its state
// images is at least a pixel across.
std::vector<std::string> MissingRequiredElements(const SkinModel &model);

}  // namespace qasp::skin
