// Paths as the project's users write them: Windows style with '\' and drive
// colons, or this platform's '/'. Separators are searched by GBK character,
// so the second byte of a Chinese character (which may be 0x5C, '\') is
// never taken for a separator.
#pragma once

#include <string>
#include <string_view>

namespace qasp {

// Index of the last '\', '/' or drive ':' in path, or npos.
size_t LastPathSeparator(std::string_view path, bool slashToo);

// The directory of a path without a trailing separator: "C:\web\index.asp"
// gives "C:\web", "C:\index.asp" gives "C:", "/srv/site/index.asp" gives
// "/srv/site". The root of this platform's file system stays "/".
std::string ExtractFileDirNoSlash(std::string_view path);

// dir + separator + name, with no separator doubled.
std::string JoinPath(std::string_view dir, std::string_view name);

}  // namespace qasp
