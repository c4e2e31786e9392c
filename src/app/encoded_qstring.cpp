#include "app/encoded_qstring.h"

namespace qasp::app {

QString FromBytes(std::string_view bytes, TextEncoding encoding)
{
    const std::u16string text = Decode(encoding, bytes);
    // Not QString::fromUtf16, which takes a leading U+FEFF for a byte-order
    // mark of its own and drops it.
    return QString(reinterpret_cast<const QChar *>(text.data()), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString &text, TextEncoding encoding, bool *lossy)
{
    return Encode(encoding,
                  std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                      static_cast<size_t>(text.size())),
                  lossy);
}

}  // namespace qasp::app
