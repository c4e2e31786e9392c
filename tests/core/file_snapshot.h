// Everything below a folder, to compare before and after: each file's
// permissions, hard links and bytes, each folder, each symbolic link's
// target.
#pragma once

#include "scratch_dir.h"

#include <filesystem>
#include <map>
#include <string>

namespace qasp::testing {

using Snapshot = std::map<std::string, std::string>;

inline Snapshot TakeSnapshot(const std::filesystem::path &root)
{
    namespace fs = std::filesystem;
    Snapshot out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(root).string();
        if (it->is_symlink())
            out[name] = "link to " + fs::read_symlink(it->path()).string();
        else if (it->is_directory())
            out[name] = "folder";
        else
            out[name] = std::to_string(static_cast<int>(it->status().permissions())) + " "
                        + std::to_string(it->hard_link_count()) + " " + ReadAll(it->path());
    }
    return out;
}

// The names in a snapshot of the save's temporary files.
inline std::string TemporaryNames(const Snapshot &snapshot)
{
    std::string names;
    for (const auto &[name, what] : snapshot)
        if (name.find(".qasp-save-") != std::string::npos)
            names += name + " ";
    return names;
}

}  // namespace qasp::testing
