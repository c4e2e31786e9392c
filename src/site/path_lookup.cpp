#include "site/path_lookup.h"

#include "site/file_name_bytes.h"

namespace qasp {
namespace fs = std::filesystem;

std::optional<fs::path> PathLookup::Find(const fs::path &base, const std::vector<std::string> &parts)
{
    fs::path here = base;
    for (const std::string &part : parts) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            here /= "..";
            continue;
        }
        // A NUL would cut the name short in every system call.
        if (part.find('\0') != std::string::npos)
            return std::nullopt;
        std::error_code ec;
        if (fs::symlink_status(here / part, ec).type() != fs::file_type::not_found && !ec) {
            here /= part;
            continue;
        }
        const Listing &listing = ListingOf(here);
        const auto match = listing.find(FoldedFileName(part));
        if (match == listing.end())
            return std::nullopt;
        here /= match->second;
    }
    return here;
}

const PathLookup::Listing &PathLookup::ListingOf(const fs::path &dir)
{
    const auto [it, fresh] = listings_.try_emplace(dir.native());
    if (!fresh)
        return it->second;
    std::error_code ec;
    for (fs::directory_iterator entry(dir, ec), end; !ec && entry != end; entry.increment(ec)) {
        std::string name = entry->path().filename().native();
        const auto [slot, added] = it->second.try_emplace(FoldedFileName(name), name);
        if (!added && name < slot->second)
            slot->second = std::move(name);
    }
    return it->second;
}

}  // namespace qasp
