// The names every page has without declaring them: the engine's functions,
// constants and objects, and the server's objects. Under Option Explicit a
// page may use these and nothing else it has not declared.
#pragma once

#include <string_view>

namespace qasp::analysis {

// `folded`: the name lower-cased (vbs::FoldName).
bool IsBuiltinName(std::string_view folded);

// The engine's own classes, which New makes without a Class of the page.
bool IsBuiltinClass(std::string_view folded);

}  // namespace qasp::analysis
