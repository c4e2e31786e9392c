// Finding a path on this platform as the case-insensitive file system a
// site comes from would: each part is taken as written when such an entry
// exists, else the entry whose name equals it ignoring ASCII case. Folders
// searched that way are listed once per lookup object, so resolving a whole
// site's include paths costs one listing per folder, not one per path.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace qasp {

class PathLookup {
public:
    // The entry (file, folder or anything else) `parts` names below `base`,
    // or nullopt when a part names nothing. ".." goes up from where the
    // walk stands. Among several entries equal ignoring case, the one with
    // the smallest name is taken, so that the answer does not depend on
    // the order of a folder's listing.
    std::optional<std::filesystem::path> Find(const std::filesystem::path &base,
                                              const std::vector<std::string> &parts);

private:
    // Folded name -> the smallest real name with that folding.
    using Listing = std::unordered_map<std::string, std::string>;
    const Listing &ListingOf(const std::filesystem::path &dir);

    std::unordered_map<std::string, Listing> listings_;  // folder path -> its listing
};

}  // namespace qasp
