// An include directive read at a "<!--": "<!--#include file="x.asp"-->" in
// the forms the server accepts: blanks after "<!--", around "=" and before
// "-->", any letter case, file= or virtual=, the path in double, single or
// no quotes. A comment that starts "#include" but names no path is no
// directive: it stays text, and the caller reports it.
#pragma once

#include "site/page_structure.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qasp {

struct IncludeReading {
    enum class Outcome { NotInclude, Directive, Malformed };
    Outcome outcome = Outcome::NotInclude;
    size_t end = 0;  // after "-->"
    size_t pathBegin = 0, pathEnd = 0;
    IncludeKind kind = IncludeKind::File;
    std::string problem;  // UTF-8, when Malformed
};

// `at` is the offset of a "<!--". Reads no further than the next '<' (a path
// holds none), so reading at every comment of a page stays linear.
IncludeReading ReadIncludeDirective(std::string_view page, size_t at, bool gbk);

}  // namespace qasp
