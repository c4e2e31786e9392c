// Where the user was before a jump (转到定义, 转到行, a search result), so
// that 后退 goes back there. A place whose node is deleted is forgotten.
#pragma once

#include "project/project_tree.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace qasp {

struct HistoryPlace {
    TreeNode *node = nullptr;
    std::size_t offset = 0;  // the caret, bytes of the node's text
};

class NavigationHistory : public TreeObserver {
public:
    explicit NavigationHistory(ProjectTree &tree);
    ~NavigationHistory() override;
    NavigationHistory(const NavigationHistory &) = delete;
    NavigationHistory &operator=(const NavigationHistory &) = delete;

    // Remembers the place a jump leaves; the oldest go beyond kLimit.
    void Push(HistoryPlace place);
    // The last place remembered, taken off the list.
    std::optional<HistoryPlace> Back();
    bool Empty() const { return places_.empty(); }

    static constexpr std::size_t kLimit = 100;

private:
    void BeforeRemove(TreeNode *node) override;
    void BeforeClear() override { places_.clear(); }

    ProjectTree &tree_;
    std::vector<HistoryPlace> places_;
};

}  // namespace qasp
