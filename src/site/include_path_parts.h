// An include directive's path as page bytes, cut into its parts. Pages are
// GBK or UTF-8; '\' and '/' both separate, but in GBK text a '\' byte that
// is the second byte of a Chinese character separates nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// `path` with each separating '\' made '/'.
std::string PortableSeparators(std::string_view path, bool gbk);

// The parts between separators, empty ones and "." dropped; ".." kept.
// Whether the path began with a separator is in *rooted when given.
std::vector<std::string> IncludePathParts(std::string_view path, bool gbk, bool *rooted = nullptr);

}  // namespace qasp
