#include "project/navigation_history.h"

#include <algorithm>

namespace qasp {

NavigationHistory::NavigationHistory(ProjectTree &tree) : tree_(tree)
{
    tree_.AddObserver(this);
}

NavigationHistory::~NavigationHistory()
{
    tree_.RemoveObserver(this);
}

void NavigationHistory::Push(HistoryPlace place)
{
    if (!place.node)
        return;
    // Two jumps from one place need one step back, not two.
    if (!places_.empty() && places_.back().node == place.node && places_.back().offset == place.offset)
        return;
    places_.push_back(place);
    if (places_.size() > kLimit)
        places_.erase(places_.begin());
}

std::optional<HistoryPlace> NavigationHistory::Back()
{
    if (places_.empty())
        return std::nullopt;
    const HistoryPlace place = places_.back();
    places_.pop_back();
    return place;
}

void NavigationHistory::BeforeRemove(TreeNode *node)
{
    // The node goes with its subtree.
    std::erase_if(places_, [node](const HistoryPlace &p) { return p.node->IsInside(node); });
}

}  // namespace qasp
