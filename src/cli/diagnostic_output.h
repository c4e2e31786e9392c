// Diagnostics written for people (one a line, as compilers print them), for
// programs (a JSON array) and for code-scanning services (SARIF 2.1.0).
#pragma once

#include "vbscript/compile_errors.h"
#include "vbscript/diagnostic.h"

#include <nlohmann/json_fwd.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace qasp::cli {

// A diagnostic with its files named as the listing shows them.
struct ShownDiagnostic {
    std::string file;
    vbs::Diagnostic diagnostic;
    std::vector<std::string> relatedFiles;  // one per related place
};

void WriteText(std::ostream &out, const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language);
// The JSON listing's array, for a command that puts it in a larger document.
nlohmann::json DiagnosticArray(const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language);
void WriteJson(std::ostream &out, const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language);
void WriteSarif(std::ostream &out, const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language);

// A path as a relative URI reference: '/' kept, bytes outside the unreserved
// set percent-encoded.
std::string UriOfPath(const std::string &path);

}  // namespace qasp::cli
