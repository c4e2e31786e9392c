#include "editor/member_completion.h"

#include "editor/char_classes.h"
#include "editor/completion_list.h"
#include "editor/key_type.h"
#include "editor/object_members.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace qasp {
namespace {

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithLetters(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameLetters(text.substr(0, prefix.size()), prefix);
}

// The table's spelling of an object it knows.
std::optional<std::string> KnownObject(std::string_view name)
{
    for (const ObjectMember &m : ObjectMembers())
        if (SameLetters(m.object, name))
            return std::string(m.object);
    return std::nullopt;
}

// Skips blanks from `at`.
size_t SkipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    return at;
}

}  // namespace

std::optional<std::string> ObjectNamed(std::string_view name, std::string_view before)
{
    if (name.empty() || name.find('.') != std::string_view::npos)
        return std::nullopt;
    if (auto builtin = KnownObject(name))
        return builtin;
    std::string lowered(before);
    std::ranges::transform(lowered, lowered.begin(), Lower);
    std::string wanted(name);
    std::ranges::transform(wanted, wanted.begin(), Lower);
    // Each "set NAME = server.createobject(" from the last one back.
    constexpr std::string_view kCreate = "server.createobject(";
    for (size_t at = lowered.rfind(kCreate); at != std::string::npos;
         at = at == 0 ? std::string::npos : lowered.rfind(kCreate, at - 1)) {
        const size_t lineStart =
            lowered.rfind('\n', at) == std::string::npos ? 0 : lowered.rfind('\n', at) + 1;
        std::string_view head = std::string_view(lowered).substr(lineStart, at - lineStart);
        while (!head.empty() && (head.back() == ' ' || head.back() == '\t'))
            head.remove_suffix(1);
        if (head.empty() || head.back() != '=')
            continue;
        head.remove_suffix(1);
        while (!head.empty() && (head.back() == ' ' || head.back() == '\t'))
            head.remove_suffix(1);
        if (head.size() < wanted.size() || head.substr(head.size() - wanted.size()) != wanted)
            continue;
        head.remove_suffix(wanted.size());
        const size_t blanks = head.size();
        while (!head.empty() && (head.back() == ' ' || head.back() == '\t'))
            head.remove_suffix(1);
        if (blanks == head.size() || head.size() < 3 || head.substr(head.size() - 3) != "set"
            || (head.size() > 3 && IsWordChar(static_cast<unsigned char>(head[head.size() - 4]))))
            continue;
        // The ProgID in quotes, as written.
        const size_t open = SkipBlanks(before, at + kCreate.size());
        if (open >= before.size() || before[open] != '"')
            return std::nullopt;
        const size_t close = before.find('"', open + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        return KnownObject(before.substr(open + 1, close - open - 1));
    }
    return std::nullopt;
}

std::string WordBeforeDot(std::string_view line)
{
    if (line.empty() || line.back() != '.')
        return {};
    size_t start = line.size() - 1;
    while (start > 0 && IsWordChar(static_cast<unsigned char>(line[start - 1])))
        --start;
    // A byte of a Chinese character before the word: not a name.
    if (start > 0 && static_cast<unsigned char>(line[start - 1]) >= 0x80)
        return {};
    return std::string(line.substr(start, line.size() - 1 - start));
}

bool FillMemberList(CompletionList &list, std::string_view object, std::string_view prefix)
{
    list.Clear();
    std::vector<const ObjectMember *> members;
    for (const ObjectMember &m : ObjectMembers())
        if (m.object == object && StartsWithLetters(m.name, prefix))
            members.push_back(&m);
    std::ranges::sort(members, {}, &ObjectMember::name);
    for (const ObjectMember *m : members)
        list.AddItem(std::string(m->name), Utf8ToGbk(m->hint), m->method ? kBuiltinFunction : kKeyword);
    if (list.Count() == 0) {
        list.Hide();
        return false;
    }
    list.Highlight(0);
    list.Show();
    return true;
}

}  // namespace qasp
