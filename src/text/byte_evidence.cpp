#include "text/byte_evidence.h"

#include "text/encoding_detection.h"
#include "text/gbk.h"
#include "text/gbk_codec.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace qasp {
namespace {

std::vector<size_t> InvalidUtf8Offsets(std::string_view bytes, size_t limit, size_t *count)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
    std::vector<size_t> offsets;
    size_t found = 0;
    for (size_t pos = 0; pos < bytes.size();) {
        if (data[pos] < 0x80) {
            ++pos;
            continue;
        }
        const auto window = static_cast<int32_t>(std::min<size_t>(bytes.size() - pos, 4));
        int32_t length = 0;
        UChar32 c = 0;
        U8_NEXT(data + pos, length, window, c);
        if (c < 0) {
            for (int32_t k = 0; k < length; ++k, ++found)
                if (offsets.size() < limit)
                    offsets.push_back(pos + static_cast<size_t>(k));
        }
        pos += static_cast<size_t>(length);
    }
    if (count)
        *count = found;
    return offsets;
}

}  // namespace

std::optional<TextEncoding> ByteEvidence::Encoding() const
{
    switch (form) {
    case ByteForm::Utf8: return TextEncoding::Utf8;
    case ByteForm::Gbk: return TextEncoding::Gbk;
    case ByteForm::Ascii:
    case ByteForm::Invalid:
    case ByteForm::Binary: break;
    }
    return std::nullopt;
}

ByteEvidence SurveyBytes(std::string_view bytes)
{
    ByteEvidence e;
    e.byteOrderMark = bytes.starts_with("\xEF\xBB\xBF");
    if (bytes.find('\0') != std::string_view::npos) {
        e.form = ByteForm::Binary;
        return e;
    }
    Utf8Survey survey;
    SurveyUtf8(bytes, survey);
    if (survey.ascii)
        return e;
    InvalidGbkOffsets(bytes, 0, &e.invalidGbk);
    e.invalidUtf8 = survey.invalidBytes;
    e.utf8LongForms = survey.longForms && survey.invalidBytes == 0;
    e.validInBoth = e.invalidUtf8 == 0 && e.invalidGbk == 0;
    if (e.invalidGbk == 0) {
        e.rareGbkOnly = true;
        for (size_t i = 0; i < bytes.size() && e.rareGbkOnly; i += GbkCharLength(bytes, i))
            e.rareGbkOnly = static_cast<unsigned char>(bytes[i]) < 0x80
                            || static_cast<unsigned char>(bytes[i + 1]) < 0x80;
    }
    // Valid UTF-8 is UTF-8 unless GBK reads it too and it looks like GBK.
    if (e.validInBoth && !e.byteOrderMark)
        e.form = LooksLikeUtf8(survey) ? ByteForm::Utf8 : ByteForm::Gbk;
    else if (e.invalidUtf8 == 0)
        e.form = ByteForm::Utf8;
    else if (e.invalidGbk == 0)
        e.form = ByteForm::Gbk;
    else
        e.form = ByteForm::Invalid;
    return e;
}

const char *ByteFormName(ByteForm form)
{
    switch (form) {
    case ByteForm::Ascii: return "ASCII";
    case ByteForm::Utf8: return "UTF-8";
    case ByteForm::Gbk: return "GBK";
    case ByteForm::Binary: return "binary";
    case ByteForm::Invalid: break;
    }
    return "invalid";
}

std::vector<size_t> InvalidByteOffsets(std::string_view bytes, TextEncoding encoding, size_t limit,
                                       size_t *count)
{
    return encoding == TextEncoding::Gbk ? InvalidGbkOffsets(bytes, limit, count)
                                         : InvalidUtf8Offsets(bytes, limit, count);
}

}  // namespace qasp
