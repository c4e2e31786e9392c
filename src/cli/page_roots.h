// The pages a command line names: a page, or every .asp page below a
// folder, each with the folder its spelling starts from so that listings
// name files as the user wrote them. Shared by the commands that read a
// site page by page.
#pragma once

#include "vbscript/compile_errors.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qasp::cli {

struct Root {
    std::filesystem::path page;
    std::filesystem::path shownBase;  // the folder as the command line spells it
    std::filesystem::path realBase;   // the same folder, resolved
    bool fromFolder = false;
};

bool IsAspPage(const std::filesystem::path &p);

// Throws CommandError for a path that does not exist or a folder that
// cannot be listed.
std::vector<Root> RootsOf(const std::string &argument);

// Chinese when the locale's language is zh, else English.
vbs::MessageLanguage LanguageOfLocale();

}  // namespace qasp::cli
