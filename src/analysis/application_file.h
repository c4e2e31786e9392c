// What the application's global.asa gives every page of the site: the
// objects it declares with Application or Session scope, and the constants
// of the type libraries it imports. Its own procedures and variables serve
// its event handlers only and reach no page.
#pragma once

#include "analysis/site_files.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qasp::analysis {

struct ApplicationNames {
    std::vector<std::string> objects;  // ids, lower-cased
    bool typeLibrary = false;          // constants no file declares
};

// Read from the global.asa (any letter case) in `siteRoot`, if there is one
// that can be read.
ApplicationNames ReadApplicationNames(const std::filesystem::path &siteRoot, SiteFiles &files);

}  // namespace qasp::analysis
