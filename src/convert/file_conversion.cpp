#include "convert/file_conversion.h"

#include "text/byte_evidence.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace qasp::convert {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kCharactersNamed = 20;

// The line of `offset`, counting CR LF, LF and a lone CR as one break each.
template <typename Char> int LineAt(std::basic_string_view<Char> text, size_t offset)
{
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

bool IsEscape(char16_t u)
{
    return u >= kEscapeBase && u <= kEscapeBase + 0x7F;
}

// "'€' (U+20AC)".
std::string Named(std::u16string_view character)
{
    char code[16];
    const char32_t c = character.size() == 2
                           ? 0x10000 + ((character[0] - 0xD800) << 10) + (character[1] - 0xDC00)
                           : character[0];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return "'" + Encode(TextEncoding::Utf8, character) + "' (" + code + ")";
}

// The characters of `text` that `to` has no code for, each named once with
// the lines it is on.
void RefuseUnwritable(std::u16string_view text, TextEncoding to, std::vector<FileProblem> &refusals)
{
    std::map<std::u16string, std::vector<int>> lines;
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u == '\n' || (u == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
        if (u < 0x80)
            continue;
        const size_t length = (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
        const std::u16string_view character = text.substr(i, length);
        bool lossy = false;
        Encode(to, character, &lossy);
        if (lossy && lines.size() < kCharactersNamed)
            lines[std::u16string(character)].push_back(line);
        i += length - 1;
    }
    for (const auto &[character, on] : lines) {
        std::string message = Named(character) + " cannot be written in " + TextEncodingName(to);
        if (on.size() > 1)
            message += " (also on " + std::to_string(on.size() - 1) + " more line"
                       + (on.size() > 2 ? "s" : "") + ")";
        refusals.push_back({on.front(), std::move(message)});
    }
}

void RefuseInvalid(std::string_view body, std::u16string_view text, TextEncoding from,
                   std::vector<FileProblem> &refusals)
{
    size_t count = 0;
    const std::vector<size_t> offsets = InvalidByteOffsets(body, from, 1, &count);
    if (!offsets.empty()) {
        refusals.push_back(
            {LineAt(body, offsets.front()), std::to_string(count) + " byte" + (count > 1 ? "s" : "")
                                                + " not valid in " + TextEncodingName(from)
                                                + ", the first at byte " + std::to_string(offsets.front())});
        return;
    }
    // Valid UTF-8 for a character the program keeps for bytes it cannot read.
    for (size_t i = 0; i < text.size(); ++i)
        if (IsEscape(text[i])) {
            refusals.push_back({LineAt(text, i), Named(text.substr(i, 1))
                                                     + " is a private character this "
                                                       "program cannot carry over"});
            return;
        }
}

std::vector<EncodingDeclaration> DeclarationsOf(std::string_view bytes, TextEncoding encoding, FileKind kind,
                                                PageStructure *structure)
{
    if (kind == FileKind::StyleSheet)
        return FindStyleSheetCharset(bytes);
    const bool gbk = encoding == TextEncoding::Gbk;
    *structure =
        kind == FileKind::ScriptFile ? ScanScriptFileStructure(bytes, gbk) : ScanPageStructure(bytes, gbk);
    return FindEncodingDeclarations(bytes, *structure);
}

struct Edit {
    size_t begin, end;
    std::string text;
};

// Where a page without a CodePage gets one, and what goes in: into its
// directive when it has one (the server takes a single directive, first in
// the page), else a directive of its own at the start. No line break goes
// in: every line stays where it was.
Edit DirectiveInsertion(std::string_view bytes, const PageStructure &structure, TextEncoding to)
{
    const std::string value = to == TextEncoding::Utf8 ? "65001" : "936";
    for (const PageRegion &r : structure.regions) {
        if (r.kind != RegionKind::Directive)
            continue;
        const bool blankBefore =
            r.codeEnd > 0 && (bytes[r.codeEnd - 1] == ' ' || bytes[r.codeEnd - 1] == '\t');
        return {r.codeEnd, r.codeEnd, blankBefore ? "CodePage=" + value + " " : " CodePage=" + value};
    }
    return {0, 0, "<%@CodePage=" + value + "%>"};
}

// Rewrites the declarations of `bytes` (already in `to`) to name `to`.
void RewriteDeclarations(std::string &bytes, const FileConversionRequest &request, FileConversion &result)
{
    PageStructure structure;
    const std::vector<EncodingDeclaration> found =
        DeclarationsOf(bytes, request.to, request.kind, &structure);
    bool hasCodePage = false;
    std::vector<Edit> edits;
    for (const EncodingDeclaration &d : found) {
        hasCodePage = hasCodePage || d.kind == DeclarationKind::Directive;
        if (!d.literal)
            continue;
        const int line = LineAt(std::string_view(bytes), d.at);
        if (!d.encoding) {
            result.notes.push_back({line, std::string(DeclarationKindName(d.kind)) + " \"" + d.value
                                              + "\" names neither GBK nor UTF-8: left as it is"});
        } else if (*d.encoding != request.to) {
            edits.push_back({d.valueBegin, d.valueEnd, DeclarationValueFor(d, request.to)});
            result.changes.push_back({d.kind, line, d.value, edits.back().text});
        }
    }
    if (request.needsDirective && !hasCodePage && request.kind == FileKind::Page) {
        edits.push_back(DirectiveInsertion(bytes, structure, request.to));
        result.changes.push_back({DeclarationKind::Directive,
                                  LineAt(std::string_view(bytes), edits.back().begin), "",
                                  request.to == TextEncoding::Utf8 ? "65001" : "936"});
    }
    // From the end, so that the offsets of those before hold.
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.begin > b.begin; });
    for (const Edit &e : edits)
        bytes.replace(e.begin, e.end - e.begin, e.text);
    std::stable_sort(result.changes.begin(), result.changes.end(),
                     [](const DeclarationChange &a, const DeclarationChange &b) { return a.line < b.line; });
}

}  // namespace

FileConversion ConvertFileText(const FileConversionRequest &request)
{
    FileConversion result;
    std::string_view body = request.bytes;
    const bool byteOrderMark = request.from == TextEncoding::Utf8 && body.starts_with(kByteOrderMark);
    if (byteOrderMark)
        body.remove_prefix(kByteOrderMark.size());
    std::string out;
    if (request.from == request.to) {
        out = std::string(body);
    } else {
        const std::u16string text = Decode(request.from, body);
        RefuseInvalid(body, text, request.from, result.refusals);
        bool lossy = false;
        out = Encode(request.to, text, &lossy);
        if (lossy)
            RefuseUnwritable(text, request.to, result.refusals);
        if (!result.refusals.empty())
            return result;
        // A character with two codes in the source comes back as one of them.
        const std::string back = Encode(request.from, Decode(request.to, out));
        if (back != body) {
            size_t at = 0;
            while (at < back.size() && at < body.size() && back[at] == body[at])
                ++at;
            result.refusals.push_back({LineAt(body, at), "the text would not convert back to the same bytes "
                                                         "(from byte "
                                                             + std::to_string(at) + ")"});
            return result;
        }
    }
    RewriteDeclarations(out, request, result);
    if (byteOrderMark && request.to == TextEncoding::Utf8)
        out.insert(0, kByteOrderMark);
    else if (byteOrderMark)
        result.notes.push_back({1, "its UTF-8 byte-order mark is dropped: GBK has none"});
    result.bytes = std::move(out);
    return result;
}

}  // namespace qasp::convert
