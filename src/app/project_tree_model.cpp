#include "app/project_tree_model.h"

#include "app/gbk_qstring.h"
#include "app/icons.h"
#include "text/line_ends.h"
#include "text/text_encoding.h"

#include <QColor>
#include <QFont>

namespace qasp::app {

ProjectTreeModel::ProjectTreeModel(ProjectTree &tree, QObject *parent)
    : QAbstractItemModel(parent),
      tree_(tree)
{
    tree_.AddObserver(this);
}

ProjectTreeModel::~ProjectTreeModel()
{
    tree_.RemoveObserver(this);
}

TreeNode *ProjectTreeModel::nodeOf(const QModelIndex &index)
{
    return index.isValid() ? static_cast<TreeNode *>(index.internalPointer()) : nullptr;
}

QModelIndex ProjectTreeModel::indexOf(const TreeNode *node) const
{
    if (!node)
        return {};
    return createIndex(tree_.RowOf(node), 0, const_cast<TreeNode *>(node));
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const TreeNode *p = nodeOf(parent);
    const auto &siblings = p ? p->Children() : tree_.TopLevel();
    if (row >= static_cast<int>(siblings.size()))
        return {};
    return createIndex(row, 0, siblings[row].get());
}

QModelIndex ProjectTreeModel::parent(const QModelIndex &child) const
{
    const TreeNode *node = nodeOf(child);
    return node ? indexOf(node->Parent()) : QModelIndex();
}

int ProjectTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const TreeNode *p = nodeOf(parent);
    return static_cast<int>(p ? p->Children().size() : tree_.TopLevel().size());
}

int ProjectTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant ProjectTreeModel::data(const QModelIndex &index, int role) const
{
    const TreeNode *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return FromGbk(node->DisplayText());
    case Qt::DecorationRole: return CicoIcon(node->ImageIndex());
    case Qt::ForegroundRole:
        if (errorCounts_.contains(node))
            return QColor(220, 0, 0);
        // A document whose file holds more than the project layout keeps.
        if (node->Record() && node->Record()->LayoutLoses)
            return QColor(170, 0, 0);
        return {};
    case Qt::ToolTipRole: {
        // A document's file, how it is read, and whether the project layout
        // (别存为, 另存) could keep it.
        const TTreeRec *record = node->Record();
        if (!node->IsDocument() || !record || record->SourceFile.empty())
            return {};
        QString tip = QString("%1\n%2 %3")
                          .arg(QString::fromStdString(record->SourceFile.string()),
                               QString::fromUtf8(TextEncodingName(node->Encoding())),
                               QString::fromUtf8(LineEndsName(record->Doc->LineBreaks())));
        if (record->LayoutLoses)
            tip += "\n以工程格式保存(别存为、另存)会改变此文件: "
                   "它含有工程格式无法保留的内容(如脚本块之外的HTML)";
        if (const auto it = errorCounts_.find(node); it != errorCounts_.end())
            tip += QString("\n错误 %1 个").arg(it->second);
        return tip;
    }
    case Qt::FontRole: {
        if (!errorCounts_.contains(node))
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    default: return {};
    }
}

Qt::ItemFlags ProjectTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // A procedure's label is its name: renamed here, its calls would be
    // left behind, so only a document's label can be edited.
    const TreeNode *node = nodeOf(index);
    if (node && !node->IsDocument())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ProjectTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TreeNode *node = nodeOf(index);
    const QString text = value.toString();
    if (!node || role != Qt::EditRole || text.trimmed().isEmpty() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (renamer)
        renamer(node, ToGbk(text));
    else
        tree_.Rename(node, ToGbk(text));
    return true;
}

void ProjectTreeModel::BeforeInsert(TreeNode *parent, int row)
{
    beginInsertRows(indexOf(parent), row, row);
}

void ProjectTreeModel::AfterInsert(TreeNode *)
{
    endInsertRows();
}

void ProjectTreeModel::setErrorCounts(std::unordered_map<const TreeNode *, int> counts)
{
    std::swap(errorCounts_, counts);
    // Both the nodes that lose their mark and those that gain one.
    for (const auto *marks : {&counts, &errorCounts_})
        for (const auto &[node, count] : *marks) {
            const QModelIndex index = indexOf(node);
            emit dataChanged(index, index, {Qt::ForegroundRole, Qt::FontRole, Qt::ToolTipRole});
        }
}

void ProjectTreeModel::BeforeRemove(TreeNode *node)
{
    std::erase_if(errorCounts_, [node](const auto &mark) { return mark.first->IsInside(node); });
    const int row = tree_.RowOf(node);
    beginRemoveRows(indexOf(node->Parent()), row, row);
}

void ProjectTreeModel::AfterRemove()
{
    endRemoveRows();
}

void ProjectTreeModel::BeforeMove(TreeNode *node, TreeNode *newParent)
{
    const int row = tree_.RowOf(node);
    beginMoveRows(indexOf(node->Parent()), row, row, indexOf(newParent),
                  static_cast<int>(newParent->Children().size()));
}

void ProjectTreeModel::AfterMove(TreeNode *)
{
    endMoveRows();
}

void ProjectTreeModel::BeforeSort(TreeNode *parent)
{
    emit layoutAboutToBeChanged({QPersistentModelIndex(indexOf(parent))},
                                QAbstractItemModel::VerticalSortHint);
    sorting_.clear();
    for (const QModelIndex &i : persistentIndexList())
        if (TreeNode *n = nodeOf(i); n && n->Parent() == parent)
            sorting_.emplace_back(QPersistentModelIndex(i), n);
}

void ProjectTreeModel::AfterSort(TreeNode *parent)
{
    for (const auto &[old, node] : sorting_)
        changePersistentIndex(old, indexOf(node));
    sorting_.clear();
    emit layoutChanged({QPersistentModelIndex(indexOf(parent))}, QAbstractItemModel::VerticalSortHint);
}

void ProjectTreeModel::NodeChanged(TreeNode *node)
{
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i);
}

void ProjectTreeModel::BeforeClear()
{
    errorCounts_.clear();
    beginResetModel();
}

void ProjectTreeModel::AfterClear()
{
    endResetModel();
}

void ProjectTreeModel::SelectionChanged(TreeNode *node)
{
    emit selectedNodeChanged(indexOf(node));
}

}  // namespace qasp::app
