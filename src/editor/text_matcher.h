// Finding a pattern in a node's text as the find dialog asks: plain text or a
// regular expression, with or without letter case, whole words only. Texts
// are the node's bytes in its file's encoding; matches are byte ranges of
// them, and a match never starts or ends inside a two-byte character.
#pragma once

#include "text/text_encoding.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool regex = false;
};

struct TextMatch {
    size_t offset = 0;
    size_t length = 0;

    bool operator==(const TextMatch &) const = default;
};

// A match and the bytes that are to stand in its place.
struct PlannedReplacement {
    TextMatch match;
    std::string bytes;
};

class TextMatcher {
public:
    // `pattern` as the user typed it (UTF-8). An empty or unusable pattern
    // leaves the matcher with an error and finds nothing.
    TextMatcher(std::string_view pattern, FindOptions options);
    ~TextMatcher();
    TextMatcher(const TextMatcher &) = delete;
    TextMatcher &operator=(const TextMatcher &) = delete;

    // Empty when the matcher is usable; otherwise what to tell the user.
    const std::string &Error() const { return error_; }

    // The first match starting at or after byte `from`. Empty matches of a
    // regular expression are skipped: they select nothing and replacing them
    // would never end.
    std::optional<TextMatch> FindNext(std::string_view text, TextEncoding encoding, size_t from) const;
    // Every match, left to right, none overlapping.
    std::vector<TextMatch> FindAll(std::string_view text, TextEncoding encoding) const;

    // The bytes that replace `match` of `text`: `replacement` (UTF-8) in the
    // text's encoding, with $0..$9 taken from the match for a regular
    // expression. nullopt and `*error` set when a group does not exist or a
    // character cannot be written in the encoding: nothing should be replaced.
    std::optional<std::string> ReplacementFor(std::string_view text, TextEncoding encoding,
                                              const TextMatch &match, std::string_view replacement,
                                              std::string *error) const;

    // Every match with its replacement, as ReplacementFor gives it; nullopt
    // and `*error` set when any of them cannot be made.
    std::optional<std::vector<PlannedReplacement>> PlanReplacements(std::string_view text,
                                                                    TextEncoding encoding,
                                                                    std::string_view replacement,
                                                                    std::string *error) const;

private:
    struct Regex;

    // Calls `each` with the pattern's plain matches from `from` on, none
    // overlapping, until it returns false: the text is encoded, folded and
    // walked once for all of them.
    void ForEachPlainMatch(std::string_view text, TextEncoding encoding, size_t from,
                           const std::function<bool(const TextMatch &)> &each) const;

    std::u16string pattern_;
    FindOptions options_;
    std::string error_;
    std::unique_ptr<Regex> regex_;
};

}  // namespace qasp
