// Where an include line's path lands on this platform. Sites come from a
// case-insensitive file system with '\' separators: the exact path is tried
// first, then each part is matched without regard to ASCII case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qasp {

// The file `path` names, relative paths taken from `baseDir`; nullopt when
// no such file exists. An absolute path that does not exist is also looked
// for below baseDir, as a site's "virtual" include paths mean.
std::optional<std::filesystem::path> ResolveIncludePath(std::string_view baseDir,
                                                        std::string_view path);

// The node name of a loaded file: an absolute path of this platform (from a
// file dialog) gives its bare file name; otherwise the part after the last
// backslash or drive colon, and a path with forward slashes stays whole.
std::string DocumentDisplayName(std::string_view fileName);

}  // namespace qasp
