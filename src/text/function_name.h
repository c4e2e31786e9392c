#pragma once

#include <string>
#include <string_view>

namespace qasp {

// "Function Foo(a, b)" gives "Foo(a, b)", or "Foo" with nameOnly; a text
// without the keyword comes back trimmed ("index.asp" stays "index.asp").
std::string ExtractFunctionName(std::string_view text, bool nameOnly);

}  // namespace qasp
