#pragma once

#include <string>
#include <string_view>

namespace qasp {

// "Function Foo(a, b)" (or "Private Sub Foo(a, b)") gives "Foo(a, b)", or
// "Foo" with nameOnly; a text without the keyword comes back trimmed
// ("index.asp" stays "index.asp").
std::string ExtractFunctionName(std::string_view text, bool nameOnly);

// Whether `line` opens a Function or a Sub ("Private Function F(a)").
bool IsProcedureHead(std::string_view line);

// The first line of `text`, up to a "%>" or a comment on it: the head of a
// procedure's text, as its node is named.
std::string_view FirstLineOf(std::string_view text);

}  // namespace qasp
