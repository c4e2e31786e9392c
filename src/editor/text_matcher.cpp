#include "editor/text_matcher.h"

#include "editor/char_classes.h"
#include "text/byte_string.h"
#include "text/gbk.h"

#include <functional>
#include <memory>

#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

namespace qasp {

struct TextMatcher::Regex {
    std::unique_ptr<icu::RegexPattern> pattern;
};

namespace {

// Letters folded where they are characters of their own: a GBK trail byte
// that looks like a letter belongs to its Chinese character and stays.
std::string FoldAscii(std::string_view text, TextEncoding encoding)
{
    std::string out(text);
    for (size_t i = 0; i < out.size();) {
        const size_t n = encoding == TextEncoding::Gbk ? GbkCharLength(text, i) : 1;
        if (n == 1)
            out[i] = LowerAsciiChar(out[i]);
        i += n;
    }
    return out;
}

// Character starts of a text, met in increasing order: the walk never goes
// back, so a search over a whole text walks it once. UTF-8 needs no walk: a
// pattern's bytes are whole characters there, and no byte of a character is
// also a character of its own.
class CharacterWalk {
public:
    CharacterWalk(std::string_view text, TextEncoding encoding)
        : text_(text),
          gbk_(encoding == TextEncoding::Gbk)
    {
    }

    // Whether `at` starts a character; `*previous` gets the start of the
    // character before it.
    bool IsStart(size_t at, size_t *previous)
    {
        if (!gbk_) {
            *previous = at > 0 ? at - 1 : 0;
            return true;
        }
        while (at_ < at) {
            previous_ = at_;
            at_ += Length(at_);
        }
        *previous = previous_;
        return at_ == at;
    }
    size_t Length(size_t at) const { return gbk_ ? GbkCharLength(text_, at) : 1; }

private:
    std::string_view text_;
    bool gbk_;
    size_t at_ = 0;
    size_t previous_ = 0;
};

// Byte offsets of UTF-16 offsets of the decoded text, met in increasing order.
class UnitToByte {
public:
    UnitToByte(std::u16string_view units, TextEncoding encoding) : units_(units), encoding_(encoding) {}
    size_t Byte(size_t unit)
    {
        if (unit < unit_) {
            unit_ = 0;
            byte_ = 0;
        }
        while (unit_ < unit && unit_ < units_.size())
            byte_ += EncodedLength(encoding_, units_[unit_++]);
        return byte_;
    }
    // The first unit whose byte offset is at least `byte`.
    size_t UnitAtOrAfter(size_t byte)
    {
        unit_ = 0;
        byte_ = 0;
        while (byte_ < byte && unit_ < units_.size())
            byte_ += EncodedLength(encoding_, units_[unit_++]);
        return unit_;
    }

private:
    std::u16string_view units_;
    TextEncoding encoding_;
    size_t unit_ = 0;
    size_t byte_ = 0;
};

icu::UnicodeString ToIcu(std::u16string_view s)
{
    return {false, s.data(), static_cast<int32_t>(s.size())};  // read-only alias, no copy
}

// A text decoded for a pattern's matcher, and the way back to its bytes.
// Not to be copied: the matcher reads `input`, `bytes` reads `units`.
struct RegexRun {
    RegexRun(const icu::RegexPattern &pattern, std::string_view text, TextEncoding encoding)
        : units(Decode(encoding, text)),
          input(ToIcu(units)),
          bytes(units, encoding),
          matcher(pattern.matcher(input, status))
    {
    }
    RegexRun(const RegexRun &) = delete;
    RegexRun &operator=(const RegexRun &) = delete;
    bool Failed() const { return U_FAILURE(status) || !matcher; }

    const std::u16string units;
    const icu::UnicodeString input;
    UnitToByte bytes;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher;
};

std::u16string FromIcu(const icu::UnicodeString &s)
{
    return {s.getBuffer(), static_cast<size_t>(s.length())};
}

std::optional<std::string> Encoded(TextEncoding encoding, std::u16string_view text, std::string *error)
{
    bool lossy = false;
    std::string bytes = Encode(encoding, text, &lossy);
    if (lossy) {
        if (error)
            *error = std::string("替换文本中有 ") + TextEncodingName(encoding) + " 编码无法表示的字符";
        return std::nullopt;
    }
    return bytes;
}

// `replacement` with $0..$9 standing for the groups of the matcher's
// current match; \$ and \\ are the characters themselves.
std::optional<std::u16string> Expanded(const icu::RegexMatcher &matcher, std::u16string_view replacement,
                                       std::string *error)
{
    std::u16string out;
    for (size_t i = 0; i < replacement.size(); ++i) {
        const char16_t c = replacement[i];
        if (c == u'\\' && i + 1 < replacement.size()) {
            out += replacement[++i];
            continue;
        }
        if (c == u'$' && i + 1 < replacement.size() && replacement[i + 1] >= u'0'
            && replacement[i + 1] <= u'9') {
            const int group = replacement[++i] - u'0';
            if (group > matcher.groupCount()) {
                if (error)
                    *error = "替换文本中的 $" + std::to_string(group) + " 没有对应的分组";
                return std::nullopt;
            }
            UErrorCode status = U_ZERO_ERROR;
            const icu::UnicodeString text = matcher.group(group, status);
            if (U_SUCCESS(status))
                out += FromIcu(text);
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace

TextMatcher::TextMatcher(std::string_view pattern, FindOptions options)
    : pattern_(Decode(TextEncoding::Utf8, pattern)),
      options_(options)
{
    if (pattern_.empty()) {
        error_ = "请输入要查找的内容";
        return;
    }
    if (!options_.regex)
        return;
    std::u16string source = pattern_;
    if (options_.wholeWord)
        source = u"(?<![A-Za-z0-9_])(?:" + source + u")(?![A-Za-z0-9_])";
    uint32_t flags = UREGEX_MULTILINE;
    if (!options_.matchCase)
        flags |= UREGEX_CASE_INSENSITIVE;
    UParseError where{};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(ToIcu(source), flags, where, status));
    if (U_FAILURE(status) || !compiled) {
        error_ = "正则表达式有误";
        // The position counts in the pattern as typed, not in the word wrapper.
        if (where.offset >= 0 && !options_.wholeWord)
            error_ += "（第 " + std::to_string(where.offset + 1) + " 个字符处）";
        error_ += std::string("：") + u_errorName(status);
        return;
    }
    regex_ = std::make_unique<Regex>(Regex{std::move(compiled)});
}

TextMatcher::~TextMatcher() = default;

void TextMatcher::ForEachPlainMatch(std::string_view text, TextEncoding encoding, size_t from,
                                    const std::function<bool(const TextMatch &)> &each) const
{
    bool lossy = false;
    std::string key = Encode(encoding, pattern_, &lossy);
    if (lossy || key.empty())
        return;  // a character the text's encoding cannot hold is nowhere in it
    std::string folded;
    std::string_view haystack = text;
    if (!options_.matchCase) {
        key = FoldAscii(key, encoding);
        folded = FoldAscii(text, encoding);
        haystack = folded;
    }
    CharacterWalk walk(text, encoding);
    // Whether the bytes at [at, end) are whole characters (and a whole word
    // when asked), not a piece of a Chinese character or of a longer word.
    const auto matches = [&](size_t at, size_t end) {
        size_t previous = 0;
        if (!walk.IsStart(at, &previous))
            return false;
        size_t past = at;
        while (past < end)
            past += walk.Length(past);
        if (past != end)
            return false;
        if (!options_.wholeWord)
            return true;
        const bool wordBefore =
            at > 0 && at - previous == 1 && IsWordChar(static_cast<unsigned char>(text[previous]));
        const bool wordAfter = end < text.size() && IsWordChar(static_cast<unsigned char>(text[end]));
        return !wordBefore && !wordAfter;
    };
    for (size_t at = haystack.find(key, from); at != std::string_view::npos;) {
        const size_t end = at + key.size();
        if (!matches(at, end)) {
            at = haystack.find(key, at + 1);
            continue;
        }
        if (!each(TextMatch{at, key.size()}))
            return;
        at = haystack.find(key, end);
    }
}

std::optional<TextMatch> TextMatcher::FindNext(std::string_view text, TextEncoding encoding,
                                               size_t from) const
{
    if (!error_.empty() || from > text.size())
        return std::nullopt;
    if (!regex_) {
        std::optional<TextMatch> first;
        ForEachPlainMatch(text, encoding, from, [&](const TextMatch &m) {
            first = m;
            return false;
        });
        return first;
    }
    RegexRun run(*regex_->pattern, text, encoding);
    if (run.Failed())
        return std::nullopt;
    UErrorCode &status = run.status;
    icu::RegexMatcher *matcher = run.matcher.get();
    UnitToByte &bytes = run.bytes;
    if (!matcher->find(static_cast<int64_t>(bytes.UnitAtOrAfter(from)), status))
        return std::nullopt;
    while (U_SUCCESS(status)) {
        const int32_t start = matcher->start(status);
        const int32_t end = matcher->end(status);
        if (U_FAILURE(status))
            break;
        if (end > start) {
            const size_t byte = bytes.Byte(static_cast<size_t>(start));
            return TextMatch{byte, bytes.Byte(static_cast<size_t>(end)) - byte};
        }
        if (!matcher->find())
            break;
    }
    return std::nullopt;
}

namespace {

// Calls `each` with every non-empty match of `pattern` in `text` (the
// matcher, to read its groups, and the match in bytes) until it returns false.
void ForEachRegexMatch(const icu::RegexPattern &pattern, std::string_view text, TextEncoding encoding,
                       const std::function<bool(icu::RegexMatcher &, const TextMatch &)> &each)
{
    RegexRun run(pattern, text, encoding);
    if (run.Failed())
        return;
    UErrorCode &status = run.status;
    icu::RegexMatcher *matcher = run.matcher.get();
    UnitToByte &bytes = run.bytes;
    while (matcher->find()) {
        const int32_t start = matcher->start(status);
        const int32_t end = matcher->end(status);
        if (U_FAILURE(status))
            return;
        if (end <= start)
            continue;  // an empty match replaces nothing and would never end
        const size_t byte = bytes.Byte(static_cast<size_t>(start));
        if (!each(*matcher, {byte, bytes.Byte(static_cast<size_t>(end)) - byte}))
            return;
    }
}

}  // namespace

std::vector<TextMatch> TextMatcher::FindAll(std::string_view text, TextEncoding encoding) const
{
    std::vector<TextMatch> all;
    if (!error_.empty())
        return all;
    if (!regex_) {
        ForEachPlainMatch(text, encoding, 0, [&](const TextMatch &m) {
            all.push_back(m);
            return true;
        });
        return all;
    }
    ForEachRegexMatch(*regex_->pattern, text, encoding, [&](icu::RegexMatcher &, const TextMatch &m) {
        all.push_back(m);
        return true;
    });
    return all;
}

std::optional<std::vector<PlannedReplacement>> TextMatcher::PlanReplacements(std::string_view text,
                                                                             TextEncoding encoding,
                                                                             std::string_view replacement,
                                                                             std::string *error) const
{
    std::vector<PlannedReplacement> planned;
    if (!error_.empty())
        return planned;
    const std::u16string with = Decode(TextEncoding::Utf8, replacement);
    if (!regex_) {
        std::vector<TextMatch> all = FindAll(text, encoding);
        if (all.empty())
            return planned;
        const std::optional<std::string> bytes = Encoded(encoding, with, error);
        if (!bytes)
            return std::nullopt;
        for (const TextMatch &m : all)
            planned.push_back({m, *bytes});
        return planned;
    }
    bool refused = false;
    ForEachRegexMatch(*regex_->pattern, text, encoding, [&](icu::RegexMatcher &matcher, const TextMatch &m) {
        const std::optional<std::u16string> expanded = Expanded(matcher, with, error);
        std::optional<std::string> encoded = expanded ? Encoded(encoding, *expanded, error) : std::nullopt;
        if (!encoded) {
            refused = true;
            return false;
        }
        planned.push_back({m, std::move(*encoded)});
        return true;
    });
    if (refused)
        return std::nullopt;
    return planned;
}

std::optional<std::string> TextMatcher::ReplacementFor(std::string_view text, TextEncoding encoding,
                                                       const TextMatch &match, std::string_view replacement,
                                                       std::string *error) const
{
    const std::u16string with = Decode(TextEncoding::Utf8, replacement);
    if (!regex_)
        return Encoded(encoding, with, error);
    // The match is found again to learn its groups.
    RegexRun run(*regex_->pattern, text, encoding);
    UErrorCode &status = run.status;
    icu::RegexMatcher *matcher = run.matcher.get();
    const size_t unit = run.bytes.UnitAtOrAfter(match.offset);
    if (run.Failed() || !matcher->find(static_cast<int64_t>(unit), status)
        || matcher->start(status) != static_cast<int32_t>(unit)) {
        if (error)
            *error = "要替换的内容已不再匹配";
        return std::nullopt;
    }
    const std::optional<std::u16string> expanded = Expanded(*matcher, with, error);
    if (!expanded)
        return std::nullopt;
    return Encoded(encoding, *expanded, error);
}

}  // namespace qasp
