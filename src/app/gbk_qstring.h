// Node bytes (code page 936) to and from QString, losslessly.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qasp::app {

QString FromGbk(std::string_view bytes);
std::string ToGbk(const QString &text);

}  // namespace qasp::app
