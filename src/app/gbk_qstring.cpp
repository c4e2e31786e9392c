#include "app/gbk_qstring.h"

#include "app/encoded_qstring.h"

namespace qasp::app {

QString FromGbk(std::string_view bytes)
{
    return FromBytes(bytes, TextEncoding::Gbk);
}

std::string ToGbk(const QString &text)
{
    return ToBytes(text, TextEncoding::Gbk);
}

}  // namespace qasp::app
