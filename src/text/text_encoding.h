// The two encodings a page can be written in, both read losslessly: bytes
// that are not valid in the encoding decode to the escape code points of
// gbk_codec.h (kEscapeBase + byte - 0x80) and encode back to the same byte,
// so every byte string survives Decode then Encode unchanged. In UTF-8 that
// covers each byte of a truncated or ill-formed sequence, an overlong form, a
// surrogate or a code point beyond U+10FFFF written in UTF-8, and the UTF-8
// form of an escape code point itself. A byte-order mark is text (U+FEFF).
#pragma once

#include <string>
#include <string_view>

namespace qasp {

enum class TextEncoding { Gbk, Utf8 };

// "GBK" or "UTF-8", for the status bar and messages.
const char *TextEncodingName(TextEncoding encoding);

std::u16string Decode(TextEncoding encoding, std::string_view bytes);

// Characters the encoding cannot hold (any outside GBK; a lone surrogate in
// UTF-8) become '?'; *lossy tells.
std::string Encode(TextEncoding encoding, std::u16string_view text, bool *lossy = nullptr);

// How many bytes Encode makes of one UTF-16 code unit. In UTF-8 a surrogate
// counts as half of its pair (2); a lone one, which becomes '?', is counted
// exactly only by the line offsets below.
size_t EncodedLength(TextEncoding encoding, char16_t unit);

// Offsets within one line between its text and its encoded bytes. A unit
// offset inside a surrogate pair counts from the pair's start; a byte offset
// inside a character gives the character's start, and one past the end gives
// line.size().
size_t ByteOffsetOfUnit(TextEncoding encoding, std::u16string_view line, size_t unitOffset);
size_t UnitOffsetOfByte(TextEncoding encoding, std::u16string_view line, size_t byteOffset);

}  // namespace qasp
