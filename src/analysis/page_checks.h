// The checks that look at a whole page, its includes and all: names used
// but declared nowhere (under Option Explicit), calls of the page's
// procedures with the wrong number of arguments, New of a class the page
// lacks, local variables never used, statements that can never run, and a
// procedure declared again in other letter case.
#pragma once

#include "vbscript/diagnostic.h"
#include "vbscript/syntax_tree.h"

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace qasp::analysis {

// The encoding of a file id, for comparing names as the engine does.
using FileEncoding = std::function<TextEncoding(uint32_t file)>;

// Names: 500, 450, 506, unused locals, procedures in other letter case.
// `otherGlobals`: lower-cased names the page has from elsewhere (functions
// of its server JScript blocks, server objects of its own or of global.asa). `unknownGlobals`: the page has
// globals that cannot be listed (a type library's constants): no name is undefined.
std::vector<vbs::Diagnostic> CheckNames(const vbs::SyntaxTree &tree, const FileEncoding &encoding,
                                        const std::unordered_set<std::string> &otherGlobals = {},
                                        bool unknownGlobals = false);

// Statements after Response.End, Response.Redirect or Exit in their block.
std::vector<vbs::Diagnostic> CheckUnreachableCode(const vbs::SyntaxTree &tree, const FileEncoding &encoding);

}  // namespace qasp::analysis
