// What the page-wide checks report, in the words the server and the script
// engine use: the engine's run-time errors (800A01F4 "Variable is
// undefined"), the server's ASP errors (ASP 0126), and the checker's own
// warnings. Each is a message key; this file gives its text in English or
// Chinese and the code a listing shows.
#pragma once

#include "vbscript/compile_errors.h"
#include "vbscript/diagnostic.h"

#include <string>
#include <string_view>

namespace qasp::analysis {

// The engine's run-time errors the checks foresee.
constexpr int kWrongArgumentCount = 450;
constexpr int kVariableUndefined = 500;
constexpr int kClassNotDefined = 506;

// The server's errors about include directives.
constexpr int kAspIncludeNotFound = 126;
constexpr int kAspParentPath = 131;
constexpr int kAspCyclicInclude = 135;

// The checker's warnings, which no engine number names.
inline constexpr std::string_view kUnusedVariable = "check.unused-variable";
inline constexpr std::string_view kUnreachableCode = "check.unreachable-code";
inline constexpr std::string_view kProcedureCase = "check.procedure-case";
inline constexpr std::string_view kOtherDeclaration = "check.other-declaration";

std::string RuntimeMessageKey(int number);  // "runtime.500"
std::string AspMessageKey(int number);      // "asp.126"

// The text of a message key (a compile error's as well); nullptr for a key
// not known.
const char *CheckMessageText(std::string_view key, vbs::MessageLanguage language);

// The message with its argument: "Variable is undefined: 'x'".
std::string DiagnosticMessage(const vbs::Diagnostic &d, vbs::MessageLanguage language);

// "800A01F4" for the engine's errors, "ASP0126" for the server's, the key's
// own name ("unused-variable") for the checker's.
std::string DiagnosticCode(const vbs::Diagnostic &d);

}  // namespace qasp::analysis
