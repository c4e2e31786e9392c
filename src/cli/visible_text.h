// A page's text as qasp colour writes it: HTML or a JSON string, always
// valid UTF-8 that a parser accepts. A page may hold anything: control
// characters are shown as marks, and bytes that are not UTF-8 as U+FFFD
// marked as replaced, naming the bytes.
#pragma once

#include <string>
#include <string_view>

namespace qasp::cli {

// `text` is UTF-8 that may be broken. `gbkEscapes`: it came from GbkToUtf8,
// where U+F780..U+F7FF stand for bytes that were not GBK.
struct PageText {
    std::string_view text;
    bool gbkEscapes = false;
};

// Text for the body of an HTML page: < > & escaped; a control character
// (tab aside) becomes <span class="ctrl" title="U+001B">␛</span> (its
// picture, or U+FFFD where it has none), bad bytes
// <span class="bad" title="\xE9">�</span>.
void AppendHtmlText(std::string &out, PageText text);

// The same without marks, for an element that holds only text (the title).
void AppendHtmlPlainText(std::string &out, PageText text);

// The inside of a JSON string: control characters as \u escapes, bad bytes
// as U+FFFD.
void AppendJsonText(std::string &out, PageText text);

// The style of the marks, for the page's head.
std::string MarkStyles(std::string_view foreground, std::string_view background);

}  // namespace qasp::cli
