#include "site/encoding_declarations.h"

#include "text/byte_string.h"

#include <algorithm>
#include <array>

namespace qasp {
namespace {

constexpr bool IsWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

constexpr bool IsLineBlank(char c)
{
    return c == ' ' || c == '\t';
}

// `token` starts at `at` of `lower` and is a whole name: no name character
// just before or after it.
bool WholeTokenAt(std::string_view lower, size_t at, std::string_view token)
{
    if (lower.substr(at, token.size()) != token)
        return false;
    const size_t after = at + token.size();
    return (at == 0 || (!IsWordChar(lower[at - 1]) && lower[at - 1] != '.'))
           && (after >= lower.size() || !IsWordChar(lower[after]));
}

bool IsUpperCaseWord(std::string_view word)
{
    bool letter = false;
    for (const char c : word) {
        if (c >= 'a' && c <= 'z')
            return false;
        letter = letter || (c >= 'A' && c <= 'Z');
    }
    return letter;
}

size_t SkipLineBlanks(std::string_view text, size_t pos, size_t end)
{
    while (pos < end && IsLineBlank(text[pos]))
        ++pos;
    return pos;
}

// Whether a statement starts at `at`: only blanks before it back to the
// start of the code, of its line, a ':' or a Then or Else.
bool StartsStatement(std::string_view lower, size_t codeBegin, size_t at)
{
    size_t p = at;
    while (p > codeBegin && IsLineBlank(lower[p - 1]))
        --p;
    if (p == codeBegin || lower[p - 1] == '\n' || lower[p - 1] == '\r' || lower[p - 1] == ':')
        return true;
    for (const std::string_view word : {std::string_view("then"), std::string_view("else")})
        if (p >= codeBegin + word.size() && lower.substr(p - word.size(), word.size()) == word
            && (p - word.size() == codeBegin || !IsWordChar(lower[p - word.size() - 1])))
            return true;
    return false;
}

// The value of "= value" from `pos` (just after the name), within `end`:
// a quoted string, a number, or else the expression's first run of name
// characters (not literal). False when no '=' follows.
bool ReadAssignedValue(std::string_view page, size_t pos, size_t end, EncodingDeclaration &d)
{
    pos = SkipLineBlanks(page, pos, end);
    if (pos >= end || page[pos] != '=')
        return false;
    pos = SkipLineBlanks(page, pos + 1, end);
    if (pos < end && page[pos] == '"') {
        const size_t close = page.find('"', pos + 1);
        const size_t lineEnd = page.find_first_of("\r\n", pos + 1);
        if (close == std::string_view::npos || close >= end || close > lineEnd)
            return false;
        d.valueBegin = pos + 1;
        d.valueEnd = close;
        d.literal = true;
        return true;
    }
    size_t stop = pos;
    while (stop < end && (IsWordChar(page[stop]) || page[stop] == '.'))
        ++stop;
    if (stop == pos)
        return false;
    d.valueBegin = pos;
    d.valueEnd = stop;
    d.literal = page[pos] >= '0' && page[pos] <= '9';
    return true;
}

struct Setting {
    std::string_view token;  // lower case
    DeclarationKind kind;
};

constexpr std::array kSettings{
    Setting{"response.codepage", DeclarationKind::ResponseCodePage},
    Setting{"session.codepage", DeclarationKind::SessionCodePage},
    Setting{"response.charset", DeclarationKind::ResponseCharset},
};

bool ReadCharsetValue(std::string_view page, size_t pos, size_t end, EncodingDeclaration &d);

// The charset inside the Content-Type a statement sends, from `pos` (just
// after the name): Response.ContentType = "text/html; charset=gb2312", or
// Response.AddHeader "Content-Type", "text/html; charset=gb2312".
bool ReadContentTypeCharset(std::string_view page, std::string_view lower, size_t pos, size_t end,
                            bool header, EncodingDeclaration &d)
{
    const size_t lineEnd = std::min(lower.find_first_of("\r\n", pos), end);
    pos = SkipLineBlanks(page, pos, lineEnd);
    if (header) {
        if (pos < lineEnd && page[pos] == '(')
            pos = SkipLineBlanks(page, pos + 1, lineEnd);
        constexpr std::string_view name = "\"content-type\"";
        if (lower.substr(pos, name.size()) != name)
            return false;
        pos = SkipLineBlanks(page, pos + name.size(), lineEnd);
        if (pos >= lineEnd || page[pos] != ',')
            return false;
    } else if (pos >= lineEnd || page[pos] != '=') {
        return false;
    }
    pos = SkipLineBlanks(page, pos + 1, lineEnd);
    if (pos >= lineEnd || page[pos] != '"')
        return false;
    const size_t close = lower.find('"', pos + 1);
    const size_t key = lower.find("charset", pos + 1);
    return close < lineEnd && key < close && ReadCharsetValue(page, key + 7, close, d);
}

// The settings in one stretch of VBScript, walked once: strings and
// comments (an apostrophe or Rem to the end of the line) are skipped.
void FindSettings(std::string_view page, std::string_view lower, size_t begin, size_t end,
                  std::vector<EncodingDeclaration> &out)
{
    for (size_t pos = begin; pos < end;) {
        const char c = lower[pos];
        if (c == '"') {
            const size_t close = lower.find_first_of("\"\r\n", pos + 1);
            pos = (close == std::string_view::npos || close >= end) ? end : close + 1;
            continue;
        }
        if (c == '\'' || (WholeTokenAt(lower, pos, "rem") && StartsStatement(lower, begin, pos))) {
            const size_t lineEnd = lower.find_first_of("\r\n", pos);
            pos = lineEnd == std::string_view::npos ? end : lineEnd;
            continue;
        }
        if (c == 'r' || c == 's') {
            for (const Setting &s : kSettings) {
                if (!WholeTokenAt(lower, pos, s.token) || !StartsStatement(lower, begin, pos))
                    continue;
                EncodingDeclaration d{s.kind, pos, 0, 0, {}, true, std::nullopt};
                if (ReadAssignedValue(page, pos + s.token.size(), end, d)) {
                    d.value = std::string(page.substr(d.valueBegin, d.valueEnd - d.valueBegin));
                    if (d.literal)
                        d.encoding = s.kind == DeclarationKind::ResponseCharset ? CharsetEncoding(d.value)
                                                                                : CodePageEncoding(d.value);
                    out.push_back(std::move(d));
                }
                break;
            }
            for (const bool header : {false, true}) {
                const std::string_view token = header ? "response.addheader" : "response.contenttype";
                if (!WholeTokenAt(lower, pos, token) || !StartsStatement(lower, begin, pos))
                    continue;
                EncodingDeclaration d{DeclarationKind::ContentType, pos, 0, 0, {}, true, std::nullopt};
                if (ReadContentTypeCharset(page, lower, pos + token.size(), end, header, d))
                    out.push_back(std::move(d));
            }
        }
        ++pos;
    }
}

void FindDirectiveCodePage(std::string_view page, std::string_view lower, const PageRegion &r,
                           std::vector<EncodingDeclaration> &out)
{
    for (size_t key = lower.find("codepage", r.codeBegin); key != std::string_view::npos && key < r.codeEnd;
         key = lower.find("codepage", key + 1)) {
        if (!WholeTokenAt(lower, key, "codepage"))
            continue;
        size_t pos = SkipLineBlanks(page, key + 8, r.codeEnd);
        if (pos >= r.codeEnd || page[pos] != '=')
            continue;
        pos = SkipLineBlanks(page, pos + 1, r.codeEnd);
        if (pos < r.codeEnd && (page[pos] == '"' || page[pos] == '\''))
            ++pos;
        size_t stop = pos;
        while (stop < r.codeEnd && page[stop] >= '0' && page[stop] <= '9')
            ++stop;
        if (stop == pos)
            continue;
        EncodingDeclaration d{DeclarationKind::Directive,
                              r.begin,
                              pos,
                              stop,
                              std::string(page.substr(pos, stop - pos)),
                              true,
                              std::nullopt};
        d.encoding = CodePageEncoding(d.value);
        out.push_back(std::move(d));
        return;
    }
}

// The charset of a tag's or a rule's "charset=value" from `key` (at
// "charset"), quotes allowed around the value.
bool ReadCharsetValue(std::string_view page, size_t pos, size_t end, EncodingDeclaration &d)
{
    pos = SkipLineBlanks(page, pos, end);
    if (pos >= end || page[pos] != '=')
        return false;
    pos = SkipLineBlanks(page, pos + 1, end);
    if (pos < end && (page[pos] == '"' || page[pos] == '\''))
        ++pos;
    size_t stop = pos;
    while (stop < end
           && (IsWordChar(page[stop]) || page[stop] == '-' || page[stop] == '.' || page[stop] == ':'))
        ++stop;
    if (stop == pos)
        return false;
    d.valueBegin = pos;
    d.valueEnd = stop;
    d.value = std::string(page.substr(pos, stop - pos));
    d.encoding = CharsetEncoding(d.value);
    return true;
}

// <meta> tags of one stretch of HTML, HTML comments skipped.
void FindMetaCharsets(std::string_view page, std::string_view lower, size_t begin, size_t end,
                      std::vector<EncodingDeclaration> &out)
{
    constexpr auto npos = std::string_view::npos;
    for (size_t pos = begin; pos < end;) {
        const size_t tag = lower.find('<', pos);
        if (tag == npos || tag >= end)
            return;
        if (lower.substr(tag, 4) == "<!--") {
            const size_t close = lower.find("-->", tag + 4);
            pos = close == npos ? end : close + 3;
            continue;
        }
        pos = tag + 1;
        if (lower.substr(tag, 5) != "<meta" || (tag + 5 < end && IsWordChar(lower[tag + 5])))
            continue;
        const size_t close = std::min(lower.find('>', tag), end);
        for (size_t key = lower.find("charset", tag); key != npos && key < close;
             key = lower.find("charset", key + 1)) {
            if (IsWordChar(lower[key - 1]) || lower[key - 1] == '-')
                continue;
            EncodingDeclaration d{DeclarationKind::MetaCharset, tag, 0, 0, {}, true, std::nullopt};
            if (ReadCharsetValue(page, key + 7, close, d)) {
                out.push_back(std::move(d));
                break;
            }
        }
        pos = close;
    }
}

}  // namespace

std::optional<TextEncoding> CodePageEncoding(std::string_view number)
{
    if (number == "65001")
        return TextEncoding::Utf8;
    if (number == "936")
        return TextEncoding::Gbk;
    return std::nullopt;
}

std::optional<TextEncoding> CharsetEncoding(std::string_view name)
{
    const std::string lower = LowerAscii(name);
    if (lower == "utf-8" || lower == "utf8")
        return TextEncoding::Utf8;
    if (lower == "gb2312" || lower == "gbk" || lower == "gb18030")
        return TextEncoding::Gbk;
    return std::nullopt;
}

std::vector<EncodingDeclaration> FindEncodingDeclarations(std::string_view page,
                                                          const PageStructure &structure)
{
    const std::string lower = LowerAscii(page);
    std::vector<EncodingDeclaration> out;
    for (const PageRegion &r : structure.regions) {
        switch (r.kind) {
        case RegionKind::Directive: FindDirectiveCodePage(page, lower, r, out); break;
        case RegionKind::Script:
        case RegionKind::ServerScript: FindSettings(page, lower, r.codeBegin, r.codeEnd, out); break;
        case RegionKind::Html: FindMetaCharsets(page, lower, r.begin, r.end, out); break;
        default: break;
        }
    }
    return out;
}

std::vector<EncodingDeclaration> FindStyleSheetCharset(std::string_view sheet)
{
    size_t start = sheet.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    constexpr std::string_view rule = "@charset \"";
    if (sheet.substr(start, rule.size()) != rule)
        return {};
    start += rule.size();
    const size_t close = sheet.find('"', start);
    if (close == std::string_view::npos
        || sheet.substr(start, close - start).find('\n') != std::string_view::npos)
        return {};
    EncodingDeclaration d{DeclarationKind::CssCharset,
                          0,
                          start,
                          close,
                          std::string(sheet.substr(start, close - start)),
                          true,
                          std::nullopt};
    d.encoding = CharsetEncoding(d.value);
    return {std::move(d)};
}

bool IsStyleSheet(const std::filesystem::path &file)
{
    return EqualsNoCase(file.extension().string(), ".css");
}

const char *DeclarationKindName(DeclarationKind kind)
{
    switch (kind) {
    case DeclarationKind::Directive: return "<%@ CodePage %>";
    case DeclarationKind::ResponseCodePage: return "Response.CodePage";
    case DeclarationKind::SessionCodePage: return "Session.CodePage";
    case DeclarationKind::ResponseCharset: return "Response.Charset";
    case DeclarationKind::MetaCharset: return "<meta charset>";
    case DeclarationKind::ContentType: return "Content-Type charset";
    case DeclarationKind::CssCharset: break;
    }
    return "@charset";
}

std::string DeclarationValueFor(const EncodingDeclaration &declaration, TextEncoding encoding)
{
    if (declaration.IsCodePage())
        return encoding == TextEncoding::Utf8 ? "65001" : "936";
    // Upper case stays upper case; any other spelling becomes lower case.
    const bool upper = IsUpperCaseWord(declaration.value);
    if (encoding == TextEncoding::Utf8)
        return upper ? "UTF-8" : "utf-8";
    return upper ? "GB2312" : "gb2312";
}

}  // namespace qasp
