// When a typed character takes the highlighted completion: a character that
// ends a word accepts it, unless the word typed so far is already a whole
// word of the list; the character is typed either way.
#pragma once

#include <string_view>

namespace qasp {

class CompletionList;

// Space, brackets, the dot, the comma, operators, the colon, the semicolon
// and the double quote end a word.
bool EndsAWord(char32_t character);

// The word being typed after `before` (the line up to the word) names
// something new: a Dim, ReDim, Const, Class, Function, Sub or Property head
// (parameters included) or the variable of a For. Such a word is left as it
// is typed.
bool NamesSomethingNew(std::string_view before);

// True when `word` is, case aside, the caption of one of the list's items.
bool IsWholeWordOfList(const CompletionList &list, std::string_view word);

}  // namespace qasp
