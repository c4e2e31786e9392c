// Node bytes (code page 936) to and from QString, losslessly: FromBytes and
// ToBytes of encoded_qstring.h in GBK, for the callers that know no other.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qasp::app {

QString FromGbk(std::string_view bytes);
std::string ToGbk(const QString &text);

}  // namespace qasp::app
