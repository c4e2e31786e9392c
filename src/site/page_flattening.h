// A page as the web server assembles it before running it: every include
// directive replaced by the bytes of the file it names, recursively, and
// nothing else changed. A file is included again wherever a directive names
// it, as the server does; a directive the server could not follow (a
// missing file, one outside the site, a cycle) stays as it is written and is
// reported.
#pragma once

#include "site/site_root.h"
#include "text/text_encoding.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qasp {

// The page could not be read, or the assembly grew past its limit (a
// directive fan-out that would fill memory). The message is UTF-8.
struct FlattenError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct FlattenResult {
    std::string bytes;
    std::vector<std::string> warnings;         // UTF-8: the directives left as written, and why
    std::vector<std::filesystem::path> files;  // every file read, once, the page first
};

// `encoding`: how every file's directives are read; none: each file's own,
// as DetectEncoding finds it.
FlattenResult FlattenPage(const std::filesystem::path &page, const SiteRoot &site,
                          std::optional<TextEncoding> encoding = std::nullopt,
                          std::uintmax_t maxBytes = std::uintmax_t{256} * 1024 * 1024);

}  // namespace qasp
