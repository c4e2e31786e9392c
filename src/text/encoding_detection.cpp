#include "text/encoding_detection.h"

#include "text/byte_string.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace qasp {
namespace {

constexpr size_t kDeclarationWindow = size_t{64} * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The script of a two-byte character (U+0080-U+07FF), or 0 for symbols,
// punctuation and combining marks, which go with any script.
int ScriptOf(UChar32 c)
{
    if (c < 0xC0 || c == 0xD7 || c == 0xF7 || (c >= 0x300 && c < 0x370))
        return 0;
    if (c < 0x250)
        return 1;  // Latin
    if (c < 0x300)
        return 2;  // IPA and modifier letters
    if (c < 0x400)
        return 3;  // Greek
    if (c < 0x530)
        return 4;  // Cyrillic
    if (c < 0x590)
        return 5;         // Armenian
    return 6 + (c >> 7);  // Hebrew, Arabic, Syriac and others by blocks of 128
}

}  // namespace

// The script run ends at any ASCII, so pieces cut after a line break add up.
void SurveyUtf8(std::string_view bytes, Utf8Survey &survey)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
    int previousScript = 0;  // of the last letter in the current run of two-byte characters
    for (size_t pos = 0; pos < bytes.size();) {
        if (data[pos] < 0x80) {
            previousScript = 0;
            ++pos;
            continue;
        }
        survey.ascii = false;
        const auto window = static_cast<int32_t>(std::min<size_t>(bytes.size() - pos, 4));
        int32_t length = 0;
        UChar32 c = 0;
        U8_NEXT(data + pos, length, window, c);
        pos += static_cast<size_t>(length);
        if (c < 0) {
            survey.invalidBytes += static_cast<size_t>(length);
            previousScript = 0;
        } else if (length > 2) {
            survey.longForms = true;
            previousScript = 0;
        } else if (const int script = ScriptOf(c)) {
            if (previousScript != 0)
                ++(script == previousScript ? survey.scriptRepeats : survey.scriptChanges);
            previousScript = script;
        }
    }
}

// GBK Chinese is now and then valid UTF-8 too ("学习" is D1 A7 CF B0), but
// only as two-byte forms, and those read as letters that jump between
// scripts ("ѧϰ", Cyrillic then Greek), where real text keeps to one.
bool LooksLikeUtf8(const Utf8Survey &survey)
{
    return !survey.ascii && survey.invalidBytes == 0
           && (survey.longForms || survey.scriptChanges <= survey.scriptRepeats);
}

namespace {

struct Declaration {
    TextEncoding encoding;
    size_t at;         // where in the text it was found
    std::string what;  // as the status bar shows it
};

constexpr bool IsWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// `token` at `at` of the lower-cased text, not the tail of a longer name.
bool IsTokenAt(std::string_view lower, size_t at)
{
    return at == 0 || !IsWordByte(lower[at - 1]);
}

// The value of `= value` or `= "value"` after position `pos`, lower-cased;
// empty when there is none.
std::string ValueAfter(std::string_view lower, size_t pos)
{
    while (pos < lower.size() && IsBlank(static_cast<unsigned char>(lower[pos])))
        ++pos;
    if (pos >= lower.size() || lower[pos] != '=')
        return {};
    ++pos;
    while (pos < lower.size() && IsBlank(static_cast<unsigned char>(lower[pos])))
        ++pos;
    if (pos < lower.size() && (lower[pos] == '"' || lower[pos] == '\''))
        ++pos;
    const size_t start = pos;
    while (pos < lower.size() && (IsWordByte(lower[pos]) || lower[pos] == '-'))
        ++pos;
    return std::string(lower.substr(start, pos - start));
}

std::optional<TextEncoding> CodePageEncoding(std::string_view value)
{
    if (value == "65001")
        return TextEncoding::Utf8;
    if (value == "936")
        return TextEncoding::Gbk;
    return std::nullopt;
}

std::optional<TextEncoding> CharsetEncoding(std::string_view value)
{
    if (value == "utf-8" || value == "utf8")
        return TextEncoding::Utf8;
    if (value == "gb2312" || value == "gbk" || value == "gb18030")
        return TextEncoding::Gbk;
    return std::nullopt;
}

// A VBScript comment (an apostrophe outside a string, or Rem) earlier on
// the line of `at`, or in its script block when that opens on the line: a
// commented-out setting declares nothing. Only the last 1 KiB of the line is
// read, so that a long line full of settings stays linear.
bool IsCommentedOut(std::string_view lower, size_t at)
{
    const size_t windowStart = at > 1024 ? at - 1024 : 0;
    std::string_view code = lower.substr(windowStart, at - windowStart);
    if (const size_t lineEnd = code.find_last_of("\r\n"); lineEnd != std::string_view::npos)
        code.remove_prefix(lineEnd + 1);
    if (const size_t open = code.rfind("<%"); open != std::string_view::npos)
        code.remove_prefix(open + 2);  // the script block's own text
    const std::string statement = Trim(code);
    if (statement == "rem" || statement.starts_with("rem "))
        return true;
    bool inString = false;
    for (const char c : statement) {
        if (c == '"')
            inString = !inString;
        else if (c == '\'' && !inString)
            return true;
    }
    return false;
}

std::optional<Declaration> DirectiveCodePage(std::string_view lower)
{
    // Directives do not nest: each search starts where the last one ended.
    for (size_t at = lower.find("<%@"); at != std::string_view::npos;) {
        const size_t end = lower.find("%>", at);
        const std::string_view directive = lower.substr(at, end - at);
        for (size_t key = directive.find("codepage"); key != std::string_view::npos;
             key = directive.find("codepage", key + 1)) {
            if (!IsTokenAt(directive, key))
                continue;
            const std::string value = ValueAfter(directive, key + 8);
            if (const auto encoding = CodePageEncoding(value))
                return Declaration{*encoding, at, "页面指令声明 CodePage=" + value};
        }
        at = end == std::string_view::npos ? end : lower.find("<%@", end);
    }
    return std::nullopt;
}

// The first `Object.Property = value` that is not commented out and whose
// value `classify` knows.
template <typename Classify>
std::optional<Declaration> Assignment(std::string_view lower, std::string_view token, std::string_view shown,
                                      bool quoted, Classify classify)
{
    for (size_t at = lower.find(token); at != std::string_view::npos; at = lower.find(token, at + 1)) {
        if (!IsTokenAt(lower, at) || IsCommentedOut(lower, at))
            continue;
        const std::string value = ValueAfter(lower, at + token.size());
        if (const auto encoding = classify(value)) {
            const std::string written = quoted ? "\"" + value + "\"" : value;
            return Declaration{*encoding, at, "代码设置 " + std::string(shown) + " = " + written};
        }
    }
    return std::nullopt;
}

std::optional<Declaration> Earlier(std::optional<Declaration> a, std::optional<Declaration> b)
{
    if (!a || (b && b->at < a->at))
        return b;
    return a;
}

// The first <meta> tag outside an HTML comment that names a known charset.
// One pass over the text, tags and comments alike.
std::optional<Declaration> MetaCharset(std::string_view lower)
{
    constexpr auto npos = std::string_view::npos;
    size_t comment = lower.find("<!--");
    for (size_t at = lower.find("<meta"); at != npos;) {
        if (comment < at) {
            const size_t end = lower.find("-->", comment + 4);
            if (end == npos)
                return std::nullopt;  // the rest is a comment
            comment = lower.find("<!--", end + 3);
            if (at < end + 3)
                at = lower.find("<meta", end + 3);
            continue;
        }
        const size_t end = lower.find('>', at);
        const std::string_view tag = lower.substr(at, end - at);
        for (size_t key = tag.find("charset"); key != npos; key = tag.find("charset", key + 1)) {
            if (!IsTokenAt(tag, key))
                continue;
            const std::string value = ValueAfter(tag, key + 7);
            if (const auto encoding = CharsetEncoding(value))
                return Declaration{*encoding, at, "<meta> 声明 charset=" + value};
        }
        at = end == npos ? end : lower.find("<meta", end);
    }
    return std::nullopt;
}

// What the page's code says beyond its directive: Response.CodePage or
// Session.CodePage, then Response.Charset, then a <meta> charset.
std::optional<Declaration> FindCodeDeclaration(std::string_view lower)
{
    if (auto d = Earlier(Assignment(lower, "response.codepage", "Response.CodePage", false, CodePageEncoding),
                         Assignment(lower, "session.codepage", "Session.CodePage", false, CodePageEncoding)))
        return d;
    if (auto d = Assignment(lower, "response.charset", "Response.Charset", true, CharsetEncoding))
        return d;
    return MetaCharset(lower);
}

std::string InvalidNote(const Utf8Survey &survey)
{
    if (survey.invalidBytes == 0)
        return {};
    return "，但有 " + std::to_string(survey.invalidBytes) + " 个字节不是有效的 UTF-8";
}

}  // namespace

DetectedEncoding DetectEncoding(std::string_view bytes)
{
    EncodingDetector detector;
    detector.Feed(bytes);
    return detector.Result();
}

void EncodingDetector::Feed(std::string_view piece)
{
    if (head_.size() < kDeclarationWindow)
        head_.append(piece.substr(0, kDeclarationWindow - head_.size()));
    SurveyUtf8(piece, survey_);
}

DetectedEncoding EncodingDetector::Result() const
{
    const Utf8Survey &survey = survey_;
    const std::string_view bytes = head_;
    DetectedEncoding result;
    if (bytes.starts_with(kByteOrderMark)) {
        result.encoding = TextEncoding::Utf8;
        result.byteOrderMark = true;
        result.reason = "文件以 UTF-8 字节顺序标记开头" + InvalidNote(survey);
        return result;
    }
    std::string lower(bytes);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAsciiChar);  // byte by byte: UTF-8 too
    // The directive decides how the server reads the page's own bytes.
    if (const auto directive = DirectiveCodePage(lower)) {
        result.encoding = directive->encoding;
        result.reason = directive->what;
        if (directive->encoding == TextEncoding::Utf8)
            result.reason += InvalidNote(survey);
        else if (LooksLikeUtf8(survey))
            result.reason += "，但内容是有效的 UTF-8";
        return result;
    }
    // Past the directive the bytes are the evidence: a charset set deeper in
    // the page (often for another page the code writes) that disagrees with
    // valid UTF-8 Chinese is reported, not obeyed.
    const std::optional<Declaration> declared = FindCodeDeclaration(lower);
    if (LooksLikeUtf8(survey)) {
        result.encoding = TextEncoding::Utf8;
        result.reason = "内容是有效的 UTF-8";
        if (declared && declared->encoding != TextEncoding::Utf8)
            result.reason += "（" + declared->what + "，与内容不符，未采用）";
        return result;
    }
    if (declared) {
        result.encoding = declared->encoding;
        result.reason = declared->what;
        if (declared->encoding == TextEncoding::Utf8)
            result.reason += InvalidNote(survey);
        return result;
    }
    if (survey.ascii) {
        result.reason = "内容只有 ASCII 字符";
    } else if (LooksLikeUtf8(survey)) {
        result.encoding = TextEncoding::Utf8;
        result.reason = "内容是有效的 UTF-8";
    } else if (survey.invalidBytes == 0) {
        result.reason = "内容虽是有效的 UTF-8，但更像 GBK 中文";
    } else {
        result.reason = "内容不是有效的 UTF-8";
    }
    return result;
}

}  // namespace qasp
