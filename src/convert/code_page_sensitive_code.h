// Server code whose result depends on the code page the page runs in: the
// byte functions (ChrB, AscB, MidB, LeftB, RightB, LenB, InStrB) that build
// or take apart byte strings, and Response.BinaryWrite, which sends bytes
// as they are. A page moved to another encoding keeps its text but not
// necessarily what such code makes of it, so a conversion lists them for
// the user to review.
#pragma once

#include "site/page_structure.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp::convert {

struct SensitiveUse {
    int line = 1;
    std::string word;  // as written
};

// In file order, outside comments and strings of server code.
std::vector<SensitiveUse> FindCodePageSensitiveCode(std::string_view page, const PageStructure &structure);

}  // namespace qasp::convert
