// Which nodes of the project tree's view are open, by their labels from the
// top down: a project read anew (a reload from disk) opens them again.
#pragma once

#include <set>
#include <string>
#include <vector>

class QTreeView;

namespace qasp {
class ProjectTree;
}

namespace qasp::app {

class ProjectTreeModel;

class TreeExpansion {
public:
    static TreeExpansion Of(const QTreeView &view, const ProjectTreeModel &model, const ProjectTree &tree);
    void RestoreIn(QTreeView &view, const ProjectTreeModel &model, const ProjectTree &tree) const;

private:
    std::set<std::vector<std::string>> open_;
};

}  // namespace qasp::app
