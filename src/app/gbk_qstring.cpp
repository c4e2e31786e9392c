#include "app/gbk_qstring.h"

#include "text/gbk_codec.h"

namespace qasp::app {

QString FromGbk(std::string_view bytes)
{
    const std::u16string text = DecodeGbk(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToGbk(const QString &text)
{
    return EncodeGbk(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                         static_cast<size_t>(text.size())));
}

}  // namespace qasp::app
