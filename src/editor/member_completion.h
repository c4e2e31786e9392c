// The member list after a dot: Response., Request., Server., Session.,
// Application., Err., and a variable Set earlier to Server.CreateObject of
// an object the member table knows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qasp {

class CompletionList;

// The object `name` stands for: a built-in object (its own name), or the
// ProgID of the last "Set name = Server.CreateObject("...")" in `before`
// (the text above the caret) that the member table knows; case aside.
std::optional<std::string> ObjectNamed(std::string_view name, std::string_view before);

// The word before the dot that ends `line` (the line up to the typed
// word), or empty when the line does not end in word-dot.
std::string WordBeforeDot(std::string_view line);

// The object's members that start with `prefix` (case aside), with their
// hints in GBK as the list shows store hints; true when any was listed,
// false (and the list hidden) otherwise.
bool FillMemberList(CompletionList &list, std::string_view object, std::string_view prefix);

}  // namespace qasp
