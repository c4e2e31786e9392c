#include "text/text_encoding.h"

#include "text/gbk_codec.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace qasp {
namespace {

// ICU's converters cannot be used for UTF-8 here: a valid sequence for an
// escape code point (EF 9E 80 is U+F780) must itself be escaped byte by byte,
// which a conversion callback never sees. Its UTF-8 macros do the validation:
// shortest forms only, no surrogates, nothing beyond U+10FFFF, and an
// ill-formed sequence consumed as its maximal subpart.
constexpr bool IsEscape(char32_t c)
{
    return c >= kEscapeBase && c <= kEscapeBase + 0x7F;
}

constexpr char16_t Escape(uint8_t byte)
{
    return static_cast<char16_t>(kEscapeBase + byte - 0x80);
}

std::u16string DecodeUtf8(std::string_view bytes)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
    std::u16string out;
    out.reserve(bytes.size());
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (data[pos] < 0x80) {
            out += static_cast<char16_t>(data[pos++]);
            continue;
        }
        // A window of at most one sequence keeps ICU's int32_t offsets small
        // whatever the size of the text.
        const auto window = static_cast<int32_t>(std::min<size_t>(bytes.size() - pos, 4));
        int32_t length = 0;
        UChar32 c = 0;
        U8_NEXT(data + pos, length, window, c);
        if (c < 0 || IsEscape(static_cast<char32_t>(c))) {
            for (int32_t k = 0; k < length; ++k)
                out += Escape(data[pos + k]);  // every byte of the sequence is 0x80 or above
        } else if (c <= 0xFFFF) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(U16_LEAD(c));
            out += static_cast<char16_t>(U16_TRAIL(c));
        }
        pos += static_cast<size_t>(length);
    }
    return out;
}

void AppendUtf8(std::string &out, UChar32 c)
{
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, c);
    out.append(reinterpret_cast<const char *>(buffer), static_cast<size_t>(length));
}

bool IsSurrogatePair(std::u16string_view text, size_t i)
{
    return U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1]);
}

std::string EncodeUtf8(std::u16string_view text, bool *lossy)
{
    std::string out;
    out.reserve(text.size() * 3);
    bool lost = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (IsEscape(u)) {
            out += static_cast<char>(u - kEscapeBase + 0x80);
        } else if (IsSurrogatePair(text, i)) {
            AppendUtf8(out, U16_GET_SUPPLEMENTARY(u, text[i + 1]));
            ++i;
        } else if (U16_IS_SURROGATE(u)) {
            out += '?';
            lost = true;
        } else {
            AppendUtf8(out, u);
        }
    }
    if (lossy)
        *lossy = lost;
    return out;
}

// The character of the line that starts at unit i: how many units it takes
// and how many bytes Encode makes of it.
struct CharacterSize {
    size_t units;
    size_t bytes;
};

CharacterSize CharacterAt(TextEncoding encoding, std::u16string_view line, size_t i)
{
    if (encoding == TextEncoding::Utf8) {
        if (IsSurrogatePair(line, i))
            return {2, 4};
        if (U16_IS_SURROGATE(line[i]))
            return {1, 1};  // '?'
    }
    return {1, EncodedLength(encoding, line[i])};
}

}  // namespace

const char *TextEncodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "GBK";
}

std::u16string Decode(TextEncoding encoding, std::string_view bytes)
{
    return encoding == TextEncoding::Utf8 ? DecodeUtf8(bytes) : DecodeGbk(bytes);
}

std::string Encode(TextEncoding encoding, std::u16string_view text, bool *lossy)
{
    return encoding == TextEncoding::Utf8 ? EncodeUtf8(text, lossy) : EncodeGbk(text, lossy);
}

size_t EncodedLength(TextEncoding encoding, char16_t unit)
{
    if (encoding == TextEncoding::Gbk)
        return EncodedLength(unit);
    if (unit < 0x80 || IsEscape(unit))
        return 1;
    if (unit < 0x800 || U16_IS_SURROGATE(unit))
        return 2;
    return 3;
}

size_t ByteOffsetOfUnit(TextEncoding encoding, std::u16string_view line, size_t unitOffset)
{
    unitOffset = std::min(unitOffset, line.size());
    size_t bytes = 0;
    for (size_t i = 0; i < unitOffset;) {
        const CharacterSize c = CharacterAt(encoding, line, i);
        if (i + c.units > unitOffset)
            break;
        bytes += c.bytes;
        i += c.units;
    }
    return bytes;
}

size_t UnitOffsetOfByte(TextEncoding encoding, std::u16string_view line, size_t byteOffset)
{
    for (size_t i = 0; i < line.size();) {
        const CharacterSize c = CharacterAt(encoding, line, i);
        if (byteOffset < c.bytes)
            return i;
        byteOffset -= c.bytes;
        i += c.units;
    }
    return line.size();
}

}  // namespace qasp
