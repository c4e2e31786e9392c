// What a file's bytes alone say about their encoding, whatever the file
// declares: plain ASCII, valid UTF-8, valid GBK, or invalid in both. Short
// GBK text is often valid UTF-8 as well and the other way round; such bytes
// are taken for the encoding the text reads as (encoding_detection.h's
// judgement of scripts), and `validInBoth` tells the caller to weigh a
// declaration before trusting that.
#pragma once

#include "text/text_encoding.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace qasp {

// Binary: a NUL byte, which no page holds (a database renamed .asp so that
// it cannot be downloaded); its bytes are no text in any encoding.
enum class ByteForm { Ascii, Utf8, Gbk, Invalid, Binary };

struct ByteEvidence {
    ByteForm form = ByteForm::Ascii;
    bool byteOrderMark = false;  // starts with EF BB BF
    bool validInBoth = false;    // non-ASCII, and valid UTF-8 and GBK alike
    bool utf8LongForms = false;  // valid UTF-8 holding a character of three or four bytes
    // Valid GBK whose every character has an ASCII trail byte: GBK's rare
    // extension characters, or rather an accented letter of a Western
    // code page before an ASCII one ("é" then "r").
    bool rareGbkOnly = false;
    size_t invalidUtf8 = 0;  // bytes of ill-formed UTF-8
    size_t invalidGbk = 0;   // characters code page 936 does not have

    // The encoding the bytes are written in; none for ASCII (either) and
    // for bytes invalid in both.
    std::optional<TextEncoding> Encoding() const;
    // The encoding as far as the bytes settle it: none as well for bytes
    // valid in both unless they hold UTF-8's three- and four-byte forms
    // (GBK text is valid UTF-8 in two-byte forms at most, but short UTF-8
    // Chinese is often valid GBK), and none for GBK of rare characters only.
    std::optional<TextEncoding> Settled() const
    {
        if ((validInBoth && !utf8LongForms && !byteOrderMark) || (form == ByteForm::Gbk && rareGbkOnly))
            return std::nullopt;
        return Encoding();
    }
    // Whether the bytes are valid in `encoding`.
    bool ValidIn(TextEncoding encoding) const
    {
        return form != ByteForm::Binary && (encoding == TextEncoding::Utf8 ? invalidUtf8 : invalidGbk) == 0;
    }
    // Of the two, the one the bytes break less often: for bytes invalid in both.
    TextEncoding Nearer() const { return invalidUtf8 <= invalidGbk ? TextEncoding::Utf8 : TextEncoding::Gbk; }
};

ByteEvidence SurveyBytes(std::string_view bytes);

// "ASCII", "UTF-8", "GBK", "invalid", "binary".
const char *ByteFormName(ByteForm form);

// Offsets of the bytes (in GBK: of the characters) that are not valid in
// `encoding`, the first `limit` of them; *count gets how many in all.
std::vector<size_t> InvalidByteOffsets(std::string_view bytes, TextEncoding encoding, size_t limit,
                                       size_t *count = nullptr);

}  // namespace qasp
