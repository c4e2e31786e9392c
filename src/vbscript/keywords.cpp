#include "vbscript/token.h"

#include "text/byte_string.h"

#include <array>

namespace qasp::vbs {

namespace {

struct Keyword {
    std::string_view spelling;
    TokenKind kind;
};

constexpr std::array kKeywords{
    Keyword{"And", TokenKind::And},         Keyword{"ByRef", TokenKind::ByRef},
    Keyword{"ByVal", TokenKind::ByVal},     Keyword{"Call", TokenKind::Call},
    Keyword{"Case", TokenKind::Case},       Keyword{"Class", TokenKind::Class},
    Keyword{"Const", TokenKind::Const},     Keyword{"Dim", TokenKind::Dim},
    Keyword{"Do", TokenKind::Do},           Keyword{"Each", TokenKind::Each},
    Keyword{"Else", TokenKind::Else},       Keyword{"ElseIf", TokenKind::ElseIf},
    Keyword{"Empty", TokenKind::Empty},     Keyword{"End", TokenKind::End},
    Keyword{"Eqv", TokenKind::Eqv},         Keyword{"Erase", TokenKind::Erase},
    Keyword{"Exit", TokenKind::Exit},       Keyword{"False", TokenKind::False},
    Keyword{"For", TokenKind::For},         Keyword{"Function", TokenKind::Function},
    Keyword{"GoTo", TokenKind::GoTo},       Keyword{"If", TokenKind::If},
    Keyword{"Imp", TokenKind::Imp},         Keyword{"In", TokenKind::In},
    Keyword{"Is", TokenKind::Is},           Keyword{"Loop", TokenKind::Loop},
    Keyword{"Me", TokenKind::Me},           Keyword{"Mod", TokenKind::Mod},
    Keyword{"New", TokenKind::New},         Keyword{"Next", TokenKind::Next},
    Keyword{"Not", TokenKind::Not},         Keyword{"Nothing", TokenKind::Nothing},
    Keyword{"Null", TokenKind::Null},       Keyword{"On", TokenKind::On},
    Keyword{"Option", TokenKind::Option},   Keyword{"Or", TokenKind::Or},
    Keyword{"Private", TokenKind::Private}, Keyword{"Property", TokenKind::Property},
    Keyword{"Public", TokenKind::Public},   Keyword{"Randomize", TokenKind::Randomize},
    Keyword{"ReDim", TokenKind::ReDim},     Keyword{"Select", TokenKind::Select},
    Keyword{"Set", TokenKind::Set},         Keyword{"Sub", TokenKind::Sub},
    Keyword{"Then", TokenKind::Then},       Keyword{"To", TokenKind::To},
    Keyword{"True", TokenKind::True},       Keyword{"Until", TokenKind::Until},
    Keyword{"Wend", TokenKind::Wend},       Keyword{"While", TokenKind::While},
    Keyword{"With", TokenKind::With},       Keyword{"Xor", TokenKind::Xor},
};

constexpr size_t kLongestKeyword = 9;  // "Randomize"

// kFirstOfLetter[c - 'a']: the first keyword starting with c or a later letter.
constexpr auto kFirstOfLetter = [] {
    std::array<size_t, 27> first{};
    size_t k = 0;
    for (size_t letter = 0; letter < 26; ++letter) {
        first[letter] = k;
        while (k < kKeywords.size() && size_t((kKeywords[k].spelling[0] | 0x20) - 'a') == letter)
            ++k;
    }
    first[26] = kKeywords.size();
    return first;
}();

}  // namespace

std::string_view KeywordSpelling(TokenKind k)
{
    for (const Keyword &kw : kKeywords)
        if (kw.kind == k)
            return kw.spelling;
    return {};
}

TokenKind KeywordOf(std::string_view word)
{
    if (word.size() < 2 || word.size() > kLongestKeyword)
        return TokenKind::Identifier;
    const char first = LowerAsciiChar(word[0]);
    if (first < 'a' || first > 'z')
        return TokenKind::Identifier;
    // The keywords are in alphabetical order: those of the word's first
    // letter, then of its length, are compared, a handful at most.
    for (size_t k = kFirstOfLetter[first - 'a']; k < kFirstOfLetter[first - 'a' + 1]; ++k)
        if (kKeywords[k].spelling.size() == word.size() && EqualsNoCase(kKeywords[k].spelling, word))
            return kKeywords[k].kind;
    return TokenKind::Identifier;
}

}  // namespace qasp::vbs
