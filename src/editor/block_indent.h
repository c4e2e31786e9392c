// Where a line's indent goes as the user types: one step deeper after a line
// that opens a block, one step back when a closing keyword is typed at the
// start of a line. One step is one tab, as Tab inserts it.
#pragma once

#include <string>
#include <string_view>

namespace qasp {

// The blanks (tabs and spaces) a line starts with.
std::string_view LeadingBlanks(std::string_view line);

// The columns of a line's leading blanks, a tab counting four.
int IndentColumns(std::string_view line);

// How many leading bytes one step back removes: a tab, or up to four spaces.
size_t OutdentLength(std::string_view line);

// The line opens a block whose body goes one step deeper: If ... Then at the
// end, ElseIf ... Then, Else, For, Do, While, Select Case, Case, With, Class,
// Function, Sub, Property. Comments, quoted text and <% are looked past.
bool OpensBlock(std::string_view line);

// The line, blanks aside, is a keyword that closes or continues a block:
// End If, Next, Loop, Wend, End Select, Else, ElseIf, Case and the like.
bool IsClosingKeywordLine(std::string_view line);

// `typed` (the line as it reads once the character is in) has just become a
// closing keyword and stands deeper than the block's body would: the line
// goes one step back. `previous` is the nearest non-blank line above.
bool OutdentsWhenTyped(std::string_view previous, std::string_view typed);

}  // namespace qasp
