// The project tree as a Qt item model for the main window's tree view: one
// column, the display text and the node's CICO image. It follows every
// change of the tree.
#pragma once

#include "project/project_tree.h"

#include <QAbstractItemModel>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace qasp::app {

class ProjectTreeModel : public QAbstractItemModel, private TreeObserver {
    Q_OBJECT
public:
    explicit ProjectTreeModel(ProjectTree &tree, QObject *parent = nullptr);
    ~ProjectTreeModel() override;

    QModelIndex indexOf(const TreeNode *node) const;
    static TreeNode *nodeOf(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // In-place renaming: the new label becomes the node's name.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // Who carries out a rename typed over a label (GBK text); without one
    // the label alone changes.
    std::function<void(TreeNode *, const std::string &)> renamer;
    // The documents whose files hold errors, with how many: their labels
    // show red and bold, their tool tips the count.
    void setErrorCounts(std::unordered_map<const TreeNode *, int> counts);

signals:
    void selectedNodeChanged(const QModelIndex &index);

private:
    void BeforeInsert(TreeNode *parent, int row) override;
    void AfterInsert(TreeNode *node) override;
    void BeforeRemove(TreeNode *node) override;
    void AfterRemove() override;
    void BeforeMove(TreeNode *node, TreeNode *newParent) override;
    void AfterMove(TreeNode *node) override;
    void BeforeSort(TreeNode *parent) override;
    void AfterSort(TreeNode *parent) override;
    void NodeChanged(TreeNode *node) override;
    void BeforeClear() override;
    void AfterClear() override;
    void SelectionChanged(TreeNode *node) override;

    ProjectTree &tree_;
    std::vector<std::pair<QPersistentModelIndex, TreeNode *>> sorting_;
    std::unordered_map<const TreeNode *, int> errorCounts_;
};

}  // namespace qasp::app
