// The projects the user opened, kept in the program's settings: the recent
// root pages under "recent", each page's choices under "projects".
#pragma once

#include "project/project_memory.h"

namespace qasp::app {

class SettingsProjectMemory : public ProjectMemory {
public:
    std::optional<ProjectChoices> Recall(const std::filesystem::path &rootFile) const override;
    void Remember(const std::filesystem::path &rootFile, const ProjectChoices &choices) override;
    std::vector<std::filesystem::path> RecentFiles() const override;
    void Forget(const std::filesystem::path &rootFile) override;
};

}  // namespace qasp::app
