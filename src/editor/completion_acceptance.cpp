#include "editor/completion_acceptance.h"

#include "editor/char_classes.h"
#include "editor/completion_list.h"

#include <algorithm>
#include <cctype>
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
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
    const auto sameLetters = [word](const std::string &caption) {
        return std::ranges::equal(caption, word, [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    for (int i = 0; i < list.Count(); ++i)
        if (sameLetters(list.Caption(i)))
            return true;
    return false;
}

}  // namespace qasp
