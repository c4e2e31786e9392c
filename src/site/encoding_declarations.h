// Every place a page says which encoding it is in or sends: the CodePage of
// its <%@ %> directive, Response.CodePage, Session.CodePage and
// Response.Charset set in its server code (not in a comment, not in a
// string), the charset its Response.ContentType or AddHeader "Content-Type"
// names, the charset of a <meta> tag (<meta charset> or http-equiv
// content="...; charset=...") outside HTML comments, and a style sheet's
// leading @charset. Each is found with the exact bytes of its value, so a
// conversion can rewrite the value alone and keep the rest of the line.
#pragma once

#include "site/page_structure.h"
#include "text/text_encoding.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

enum class DeclarationKind {
    Directive,
    ResponseCodePage,
    SessionCodePage,
    ResponseCharset,
    ContentType,  // Response.ContentType or AddHeader "Content-Type" naming a charset
    MetaCharset,
    CssCharset
};

struct EncodingDeclaration {
    DeclarationKind kind;
    size_t at;                    // the statement's, the tag's or the directive's first byte
    size_t valueBegin, valueEnd;  // the value as written, without quotes
    std::string value;            // as written
    // A number or a string, not an expression: Session.CodePage = saved
    // puts back a code page kept earlier.
    bool literal = true;
    // What the value names, when it is GBK (936, gb2312, gbk, gb18030) or
    // UTF-8 (65001, utf-8, utf8).
    std::optional<TextEncoding> encoding;

    bool IsCodePage() const
    {
        return kind == DeclarationKind::Directive || kind == DeclarationKind::ResponseCodePage
               || kind == DeclarationKind::SessionCodePage;
    }
};

// In file order. `structure` is `page`'s; a style sheet (`css`) is looked at
// for @charset alone.
std::vector<EncodingDeclaration> FindEncodingDeclarations(std::string_view page,
                                                          const PageStructure &structure);
std::vector<EncodingDeclaration> FindStyleSheetCharset(std::string_view sheet);

// Whether `file` is a style sheet (".css", any case).
bool IsStyleSheet(const std::filesystem::path &file);

// "<%@ CodePage %>", "Response.CodePage", "Session.CodePage",
// "Response.Charset", "Content-Type charset", "<meta charset>", "@charset".
const char *DeclarationKindName(DeclarationKind kind);

// The value that declares `encoding` in place of `declaration`'s: a code
// page number, or a charset name in the letter case the old one was written
// in (gb2312 <-> utf-8, GB2312 <-> UTF-8).
std::string DeclarationValueFor(const EncodingDeclaration &declaration, TextEncoding encoding);

std::optional<TextEncoding> CodePageEncoding(std::string_view number);
std::optional<TextEncoding> CharsetEncoding(std::string_view name);

}  // namespace qasp
