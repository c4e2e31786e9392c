#include "vbscript/token.h"

#include "text/byte_string.h"

#include <array>
#include <vector>

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
    // Buckets by first letter: an identifier is compared with a handful.
    static const auto buckets = [] {
        std::array<std::vector<Keyword>, 26> b;
        for (const Keyword &kw : kKeywords)
            b[LowerAsciiChar(kw.spelling[0]) - 'a'].push_back(kw);
        return b;
    }();
    const char first = LowerAsciiChar(word[0]);
    if (first < 'a' || first > 'z')
        return TokenKind::Identifier;
    for (const Keyword &kw : buckets[first - 'a'])
        if (kw.spelling.size() == word.size() && EqualsNoCase(kw.spelling, word))
            return kw.kind;
    return TokenKind::Identifier;
}

}  // namespace qasp::vbs
