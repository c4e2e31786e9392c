// The hint shown when the pointer rests on a name: what the completion list
// shows for it (a variable's declaration, an array's bound, a constant's
// value, a function's signature).
#pragma once

#include "editor/keyword_snapshot.h"

#include <string>
#include <string_view>

namespace qasp {

// The text for `name` (code page 936), empty when the store knows no such
// name or holds no hint for it. A name the store holds several times shows
// its nearest meaning: a local before a global, before the project's
// function, before the built-in vocabulary.
std::string HintOfName(const KeywordSnapshot &snapshot, std::string_view name);

}  // namespace qasp
