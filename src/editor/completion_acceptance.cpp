#include "editor/completion_acceptance.h"

#include "editor/char_classes.h"
#include "editor/completion_list.h"
#include "text/byte_string.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qasp {

bool EndsAWord(char32_t character)
{
    constexpr std::u32string_view kEnders = U" ().,=+-*/&<>:;\"";
    return kEnders.find(character) != std::u32string_view::npos;
}

bool NamesSomethingNew(std::string_view before)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : before) {
        if (c == '\'' || c == '"' || c == '=')
            return false;  // past the names: a value, a string or a comment
        if (IsWordChar(static_cast<unsigned char>(c))) {
            word += LowerAsciiChar(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(word);
    // Public and Private declare variables when no procedure head follows.
    bool scoped = false;
    while (!words.empty()
           && (words.front() == "public" || words.front() == "private" || words.front() == "default")) {
        words.erase(words.begin());
        scoped = true;
    }
    if (words.empty())
        return scoped;
    constexpr std::string_view kHeads[] = {"dim", "redim", "const", "class", "function", "sub", "property"};
    if (scoped || std::ranges::find(kHeads, words.front()) != std::end(kHeads))
        return true;
    return words.back() == "for" || words.back() == "each";
}

bool IsWholeWordOfList(const CompletionList &list, std::string_view word)
{
    for (int i = 0; i < list.Count(); ++i)
        if (EqualsNoCase(list.Caption(i), word))
            return true;
    return false;
}

}  // namespace qasp
