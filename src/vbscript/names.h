// VBScript names compare without case, folding ASCII letters only. In GBK
// the second byte of a character may be an ASCII letter: it is never folded.
#pragma once

#include "text/text_encoding.h"

#include <string>
#include <string_view>

namespace qasp::vbs {

// The name without its brackets ("[my name]" -> "my name"), lower-cased.
std::string FoldName(std::string_view name, TextEncoding encoding);

bool NamesEqual(std::string_view a, std::string_view b, TextEncoding encoding = TextEncoding::Utf8);

}  // namespace qasp::vbs
