#include "app/tree_expansion.h"

#include "app/project_tree_model.h"
#include "project/outside_changes.h"
#include "project/project_tree.h"

#include <QTreeView>

namespace qasp::app {

TreeExpansion TreeExpansion::Of(const QTreeView &view, const ProjectTreeModel &model, const ProjectTree &tree)
{
    TreeExpansion expansion;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (!n->Children().empty() && view.isExpanded(model.indexOf(n)))
            expansion.open_.insert(LabelPath(n));
    return expansion;
}

void TreeExpansion::RestoreIn(QTreeView &view, const ProjectTreeModel &model, const ProjectTree &tree) const
{
    if (open_.empty())
        return;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (!n->Children().empty() && open_.contains(LabelPath(n)))
            view.expand(model.indexOf(n));
}

}  // namespace qasp::app
