// Which encoding a page is written in, judged from its bytes: a UTF-8
// byte-order mark; else the CodePage of its <%@ %> directive (65001 means
// UTF-8, 936 GBK); else UTF-8 when the text is valid UTF-8, not plain
// ASCII, and does not look like GBK Chinese read as UTF-8 (letters of mixed
// scripts), whatever the code declares deeper in the page; else what the
// code declares (Response.CodePage or Session.CodePage, then
// Response.Charset, then a <meta> charset; utf-8 means UTF-8, gb2312, gbk or
// gb18030 GBK, anything else is not a declaration); else GBK. Declarations
// are looked for in the first 64 KiB only; validity is checked over the
// whole text.
#pragma once

#include "text/text_encoding.h"

#include <string>
#include <string_view>

namespace qasp {

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::Gbk;
    bool byteOrderMark = false;  // the bytes start with EF BB BF
    std::string reason;          // why, in Chinese (UTF-8), for the status bar
};

DetectedEncoding DetectEncoding(std::string_view bytes);

// What the UTF-8 check has seen so far.
struct Utf8Survey {
    bool ascii = true;
    size_t invalidBytes = 0;
    bool longForms = false;  // a character of three or four bytes: where CJK lives
    // Neighbouring two-byte letters of another script, and of the same one.
    size_t scriptChanges = 0;
    size_t scriptRepeats = 0;
};

// Adds what `bytes` hold to `survey`; a piece that starts after a line
// break continues the survey exactly.
void SurveyUtf8(std::string_view bytes, Utf8Survey &survey);

// Valid UTF-8 that is not GBK Chinese read as UTF-8: it holds a character of
// three or four bytes, or its two-byte letters keep to one script.
bool LooksLikeUtf8(const Utf8Survey &survey);

// DetectEncoding for a file read a piece at a time: each piece but the last
// ends after a line break (breaks are ASCII, so no character is cut), and
// the result is the one the whole text gives.
class EncodingDetector {
public:
    void Feed(std::string_view piece);
    DetectedEncoding Result() const;

private:
    std::string head_;  // the first bytes, where declarations are looked for
    Utf8Survey survey_;
};

}  // namespace qasp
