// Where an include line's path lands on this platform, and the names files
// get in the tree. Sites come from a case-insensitive file system with '\'
// separators: the exact path is tried first, then each part is matched
// without regard to ASCII case. Include paths are text of the page (code
// page 936); file names on this platform are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qasp {

// The file the include path `includePath` (GBK) names, relative paths taken
// from `baseDir` (the current directory when empty); nullopt when no such
// file exists. The path is looked up converted to UTF-8 and, failing that,
// as its own bytes (a site copied with GBK-named files). An absolute path
// that does not exist is also looked for below baseDir, as a site's
// "virtual" include paths mean.
std::optional<std::filesystem::path> ResolveIncludePath(const std::filesystem::path &baseDir,
                                                        std::string_view includePath);

// The node name of a document included by `includePath`: the path exactly
// as the include line writes it, so that the line is written back as it was.
std::string DocumentDisplayName(std::string_view includePath);

// The node name of a document chosen by its path (a dialog, the command
// line): its file name in code page 936. A name that does not convert (not
// UTF-8, as in a site copied with GBK-named files, or holding a character
// code page 936 lacks) keeps its own bytes.
std::string RootDisplayName(const std::filesystem::path &file);

}  // namespace qasp
