// Any bytes read in either encoding come back exactly when written again,
// the per-unit lengths and line offsets agree with what is written, and the
// detection of encoding and line ends takes any input.
#include "text/encoding_detection.h"
#include "text/line_ends.h"
#include "text/text_encoding.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (const qasp::TextEncoding encoding : {qasp::TextEncoding::Gbk, qasp::TextEncoding::Utf8}) {
        const std::u16string text = qasp::Decode(encoding, bytes);
        bool lossy = true;
        if (qasp::Encode(encoding, text, &lossy) != bytes || lossy)
            std::abort();
        size_t length = 0;
        for (const char16_t unit : text)
            length += qasp::EncodedLength(encoding, unit);
        if (length != size || qasp::ByteOffsetOfUnit(encoding, text, text.size()) != size)
            std::abort();
        // Offsets map back to the character they fall in, at a few places.
        for (size_t offset = 0; offset < size; offset += size / 16 + 1) {
            const size_t unit = qasp::UnitOffsetOfByte(encoding, text, offset);
            if (unit >= text.size())
                std::abort();
            const size_t next = unit + (text[unit] >= 0xD800 && text[unit] <= 0xDBFF ? 2 : 1);
            if (qasp::ByteOffsetOfUnit(encoding, text, unit) > offset
                || qasp::ByteOffsetOfUnit(encoding, text, next) <= offset)
                std::abort();
        }
    }
    const qasp::DetectedEncoding detected = qasp::DetectEncoding(bytes);
    if (detected.reason.empty() || (detected.byteOrderMark && detected.encoding != qasp::TextEncoding::Utf8))
        std::abort();
    qasp::DetectLineEnds(bytes);
    return 0;
}
