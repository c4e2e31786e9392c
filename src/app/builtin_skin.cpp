#include "app/builtin_skin.h"

extern const char kBuiltinSkin[];
extern const unsigned long kBuiltinSkinSize;

namespace qasp::app {

std::string BuiltinSkinStream()
{
    return {kBuiltinSkin, kBuiltinSkinSize};
}

}  // namespace qasp::app
