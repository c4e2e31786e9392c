#include "cli/visible_text.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace qasp::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr UChar32 kFirstGbkEscape = 0xF780;
constexpr UChar32 kLastGbkEscape = 0xF7FF;

enum class PieceKind { Plain, Control, Bad };

struct Piece {
    PieceKind kind;
    std::string_view bytes;
    UChar32 code;  // Control: the character
};

// What neither HTML nor XML takes as text: C0 and C1 controls (tab aside;
// a line never holds a line break) and the two non-characters U+FFFE and
// U+FFFF.
bool IsControl(UChar32 c)
{
    return (c < 0x20 && c != '\t') || (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF;
}

// The text in runs of plain characters, single control characters and
// ill-formed sequences (each as long as U8_NEXT finds it).
template <typename Each> void ForEachPiece(PageText page, Each each)
{
    const std::string_view text = page.text;
    const auto *data = reinterpret_cast<const uint8_t *>(text.data());
    size_t plain = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t at = pos;
        UChar32 c = data[pos];
        if (c < 0x80) {
            ++pos;
        } else {
            int32_t next = 0;
            U8_NEXT(data + pos, next, static_cast<int32_t>(std::min<size_t>(text.size() - pos, 4)), c);
            pos += static_cast<size_t>(next);
        }
        const bool bad = c < 0 || (page.gbkEscapes && c >= kFirstGbkEscape && c <= kLastGbkEscape);
        if (!bad && !IsControl(c))
            continue;
        if (at > plain)
            each(Piece{PieceKind::Plain, text.substr(plain, at - plain), 0});
        each(Piece{bad ? PieceKind::Bad : PieceKind::Control, text.substr(at, pos - at), c});
        plain = pos;
    }
    if (text.size() > plain)
        each(Piece{PieceKind::Plain, text.substr(plain), 0});
}

void AppendCodePoint(std::string &out, UChar32 c)
{
    char bytes[4];
    int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, c);
    out.append(bytes, static_cast<size_t>(length));
}

// The control character's picture (U+2400..U+2421), U+FFFD where there is none.
void AppendPicture(std::string &out, UChar32 c)
{
    if (c < 0x20)
        AppendCodePoint(out, 0x2400 + c);
    else if (c == 0x7F)
        AppendCodePoint(out, 0x2421);
    else
        out += kReplacement;
}

// "U+001B" for a control character, "\xE4\xB8" for bad bytes.
std::string MarkTitle(const Piece &piece, bool gbkEscapes)
{
    char buffer[16];
    if (piece.kind == PieceKind::Control) {
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(piece.code));
        return buffer;
    }
    std::string title;
    if (gbkEscapes && piece.code >= kFirstGbkEscape) {
        std::snprintf(buffer, sizeof buffer, "\\x%02X",
                      static_cast<unsigned>(piece.code - kFirstGbkEscape + 0x80));
        return buffer;
    }
    for (const char b : piece.bytes) {
        std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(b)));
        title += buffer;
    }
    return title;
}

void AppendHtmlEscaped(std::string &out, std::string_view text)
{
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char *entity = nullptr;
        switch (text[i]) {
        case '&': entity = "&amp;"; break;
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        default: continue;
        }
        out.append(text, from, i - from);
        out += entity;
        from = i + 1;
    }
    out.append(text, from);
}

void AppendJsonEscaped(std::string &out, std::string_view text)
{
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\\' && c != '\t')
            continue;
        out.append(text, from, i - from);
        out += '\\';
        out += c == '\t' ? 't' : c;
        from = i + 1;
    }
    out.append(text, from);
}

}  // namespace

void AppendHtmlText(std::string &out, PageText text)
{
    ForEachPiece(text, [&](const Piece &piece) {
        if (piece.kind == PieceKind::Plain) {
            AppendHtmlEscaped(out, piece.bytes);
            return;
        }
        const bool control = piece.kind == PieceKind::Control;
        out += control ? R"(<span class="ctrl" title=")" : R"(<span class="bad" title=")";
        out += MarkTitle(piece, text.gbkEscapes);
        out += "\">";
        if (control)
            AppendPicture(out, piece.code);
        else
            out += kReplacement;
        out += "</span>";
    });
}

void AppendHtmlPlainText(std::string &out, PageText text)
{
    ForEachPiece(text, [&](const Piece &piece) {
        if (piece.kind == PieceKind::Plain)
            AppendHtmlEscaped(out, piece.bytes);
        else if (piece.kind == PieceKind::Control)
            AppendPicture(out, piece.code);
        else
            out += kReplacement;
    });
}

void AppendJsonText(std::string &out, PageText text)
{
    ForEachPiece(text, [&](const Piece &piece) {
        if (piece.kind == PieceKind::Plain) {
            AppendJsonEscaped(out, piece.bytes);
        } else if (piece.kind == PieceKind::Control) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(piece.code));
            out += escape;
        } else {
            out += kReplacement;
        }
    });
}

std::string MarkStyles(std::string_view foreground, std::string_view background)
{
    // Reversed colours: a mark stands out in any scheme.
    return ".ctrl,.bad{color:" + std::string(background) + ";background:" + std::string(foreground) + "}\n";
}

}  // namespace qasp::cli
