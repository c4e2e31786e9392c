// What the program keeps of the projects the user opened: the recent root
// pages, and for each the site root and the encodings chosen for its files,
// so that opening it again reads it as it was last read.
#pragma once

#include "text/text_encoding.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qasp {

struct ProjectChoices {
    // Empty: found from the page, as for a project never seen.
    std::filesystem::path siteRoot;
    // By FileKey, as LoadContext::fileEncodings.
    std::map<std::string, TextEncoding> fileEncodings;

    bool operator==(const ProjectChoices &) const = default;
};

class ProjectMemory {
public:
    virtual ~ProjectMemory() = default;
    virtual std::optional<ProjectChoices> Recall(const std::filesystem::path &rootFile) const = 0;
    // Keeps the choices and makes the page the most recent one.
    virtual void Remember(const std::filesystem::path &rootFile, const ProjectChoices &choices) = 0;
    // Most recent first.
    virtual std::vector<std::filesystem::path> RecentFiles() const = 0;
    virtual void Forget(const std::filesystem::path &rootFile) = 0;
};

// The list of recent files with `file` in front, no file twice, at most
// `limit` long.
std::vector<std::filesystem::path> WithRecentFile(std::vector<std::filesystem::path> list,
                                                  const std::filesystem::path &file, size_t limit = 10);

}  // namespace qasp
