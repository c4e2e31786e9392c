// Node bytes in either encoding to and from QString, losslessly (see
// text/text_encoding.h).
#pragma once

#include "text/text_encoding.h"

#include <QString>

#include <string>
#include <string_view>

namespace qasp::app {

QString FromBytes(std::string_view bytes, TextEncoding encoding);

// *lossy tells whether a character the encoding cannot hold became '?'.
std::string ToBytes(const QString &text, TextEncoding encoding, bool *lossy = nullptr);

}  // namespace qasp::app
