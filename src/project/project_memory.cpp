#include "project/project_memory.h"

#include <algorithm>

namespace qasp {

std::vector<std::filesystem::path> WithRecentFile(std::vector<std::filesystem::path> list,
                                                  const std::filesystem::path &file, size_t limit)
{
    std::erase(list, file);
    list.insert(list.begin(), file);
    if (list.size() > limit)
        list.resize(limit);
    return list;
}

}  // namespace qasp
