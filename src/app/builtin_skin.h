// The program's own skin, packed from resources/skin/light at build time.
#pragma once

#include <string>

namespace qasp::app {

std::string BuiltinSkinStream();

}  // namespace qasp::app
