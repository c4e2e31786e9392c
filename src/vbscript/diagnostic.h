// A problem found in a page, placed in the file it is in. General enough for
// the parser's compile errors and for checks that look at a whole page: a
// redefinition across includes points at the first definition as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qasp::vbs {

enum class Severity : uint8_t { Error, Warning };

// Lines and columns count from 1; columns count characters, not bytes.
struct RelatedPlace {
    uint32_t file = 0;
    uint32_t offset = 0;
    uint32_t line = 1, column = 1;
    std::string messageKey;  // e.g. "vbscript.declared-here"
};

struct Diagnostic {
    uint32_t file = 0;
    uint32_t offset = 0, endOffset = 0;  // bytes into the file
    uint32_t line = 1, column = 1;
    uint32_t endLine = 1, endColumn = 1;
    Severity severity = Severity::Error;
    int code = 0;            // the engine's number for a compile error
    std::string messageKey;  // "vbscript.1002"; the text comes from the catalogue
    std::string argument;    // UTF-8: the name or path the message is about, if any
    std::vector<RelatedPlace> related;
};

}  // namespace qasp::vbs
