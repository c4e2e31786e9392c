// What the project layout keeps of a document's text: the lines between its
// "<%" line and its "%>" line, blank lines and include lines left out and
// trailing blanks trimmed, joined by CR LF. For a page written in the layout
// this is exactly its page text; for any other page it is the fragment the
// layout can hold, which is why the layout writers ask before replacing such
// a file.
#pragma once

#include <string>
#include <string_view>

namespace qasp {

std::string LayoutPageText(std::string_view documentText);

// `text` without the one line break that ends it, if any.
std::string_view WithoutFinalLineBreak(std::string_view text);

}  // namespace qasp
