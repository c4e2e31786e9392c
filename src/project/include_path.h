// The names files get in the tree. Include paths are text of the page (code
// page 936); file names on this platform are UTF-8. Where an include leads
// is the site's resolver's business (site/include_resolution.h).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qasp {

// The node name of a document included by `includePath`: the path exactly
// as the include line writes it, so that the line is written back as it was.
std::string DocumentDisplayName(std::string_view includePath);

// The node name of a document chosen by its path (a dialog, the command
// line): its file name in code page 936. A name that does not convert (not
// UTF-8, as in a site copied with GBK-named files, or holding a character
// code page 936 lacks) keeps its own bytes.
std::string RootDisplayName(const std::filesystem::path &file);

}  // namespace qasp
