#include "editor/member_completion.h"

#include "editor/char_classes.h"
#include "editor/completion_list.h"
#include "editor/key_type.h"
#include "editor/object_members.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qasp {
namespace {

// Whether `text` is `lowered` but for ASCII case, compared from the end: most
// of the text's parentheses differ in the letter before them.
bool EndsWithLetters(std::string_view text, std::string_view lowered)
{
    if (text.size() != lowered.size())
        return false;
    for (size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c) != lowered[i])
            return false;
    }
    return true;
}

// The table's spelling of an object it knows.
std::optional<std::string> KnownObject(std::string_view name)
{
    for (const ObjectMember &m : ObjectMembers())
        if (EqualsNoCase(m.object, name))
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
    // Each "set NAME = server.createobject(" from the last one back, found
    // by its '(': the text above the caret may be a whole long page, so it
    // is neither copied nor lowered, and the search skips to each '(' at
    // memory speed.
    constexpr std::string_view kCreate = "server.createobject(";
    const auto trimEnd = [](std::string_view &text) {
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
    };
    for (size_t end = before.size(); end > 0;) {
        const void *hit = memrchr(before.data(), '(', end);
        if (!hit)
            break;
        const auto paren = static_cast<size_t>(static_cast<const char *>(hit) - before.data());
        end = paren;
        if (paren + 1 < kCreate.size())
            continue;
        const size_t at = paren + 1 - kCreate.size();
        if (!EndsWithLetters(before.substr(at, kCreate.size()), kCreate))
            continue;
        const size_t lineEnd = before.rfind('\n', at);
        const size_t lineStart = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
        std::string_view head = before.substr(lineStart, at - lineStart);
        trimEnd(head);
        if (head.empty() || head.back() != '=')
            continue;
        head.remove_suffix(1);
        trimEnd(head);
        if (head.size() < name.size() || !EqualsNoCase(head.substr(head.size() - name.size()), name))
            continue;
        head.remove_suffix(name.size());
        const size_t blanks = head.size();
        trimEnd(head);
        if (blanks == head.size() || head.size() < 3 || !EqualsNoCase(head.substr(head.size() - 3), "set")
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
        if (m.object == object && StartsWithNoCase(m.name, prefix))
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
