// File names as this platform keeps them: bytes, normally UTF-8, but GBK in
// a site copied with GBK-named files. Case is compared as a case-insensitive
// file system does, ASCII letters only; inside a GBK name the second byte of
// a Chinese character (which may be an ASCII letter) is not folded.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qasp {

bool IsUtf8(std::string_view bytes);

// A name with its ASCII letters lowered: two names with the same key are
// one name on the file system the site comes from.
std::string FoldedFileName(std::string_view name);

// A path for messages and listings (UTF-8): components that are not UTF-8
// are read as GBK.
std::string PathText(const std::filesystem::path &path);

}  // namespace qasp
