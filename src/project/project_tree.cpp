#include "project/project_tree.h"

#include "text/display_collation.h"

#include <algorithm>

namespace qasp {

TreeNode::~TreeNode()
{
    // A chain of documents can be as deep as the project has nodes: the
    // subtree is taken apart here, each node freed once it has no children,
    // rather than with a stack frame per level.
    std::vector<std::unique_ptr<TreeNode>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto &child : node->children_)
            pending.push_back(std::move(child));
        node->children_.clear();
    }
}

TTreeRec::TTreeRec(std::string text, std::string info, TextEncoding encoding)
    : Doc(std::make_shared<Document>(std::move(text), encoding)),
      Info(std::move(info))
{
}

std::string_view TTreeRec::Text() const
{
    if (!Doc)
        return {};
    return Range == kNoRange ? std::string_view(Doc->Text()) : Doc->TextOf(Range);
}

bool TreeNode::IsInside(const TreeNode *ancestor) const
{
    for (const TreeNode *n = this; n; n = n->parent_)
        if (n == ancestor)
            return true;
    return false;
}

template <typename F> void ProjectTree::Notify(F f)
{
    for (TreeObserver *o : observers_)
        f(*o);
}

void ProjectTree::AddObserver(TreeObserver *observer)
{
    observers_.push_back(observer);
}

void ProjectTree::RemoveObserver(TreeObserver *observer)
{
    std::erase(observers_, observer);
}

std::vector<std::unique_ptr<TreeNode>> &ProjectTree::SiblingsOf(TreeNode *parent)
{
    return parent ? parent->children_ : roots_;
}

const std::vector<std::unique_ptr<TreeNode>> &ProjectTree::SiblingsOf(const TreeNode *parent) const
{
    return parent ? parent->children_ : roots_;
}

int ProjectTree::RowOf(const TreeNode *node) const
{
    const auto &siblings = SiblingsOf(node->parent_);
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == node)
            return static_cast<int>(i);
    return -1;
}

TreeNode *ProjectTree::NextSibling(const TreeNode *node) const
{
    const auto &siblings = SiblingsOf(node->parent_);
    const size_t row = static_cast<size_t>(RowOf(node));
    return row + 1 < siblings.size() ? siblings[row + 1].get() : nullptr;
}

TreeNode *ProjectTree::Append(TreeNode *parent, std::string displayText)
{
    auto &siblings = SiblingsOf(parent);
    Notify([&](TreeObserver &o) { o.BeforeInsert(parent, static_cast<int>(siblings.size())); });
    auto node = std::make_unique<TreeNode>();
    node->text_ = std::move(displayText);
    node->parent_ = parent;
    TreeNode *raw = node.get();
    siblings.push_back(std::move(node));
    Notify([&](TreeObserver &o) { o.AfterInsert(raw); });
    return raw;
}

TreeNode *ProjectTree::AddTopLevel(std::string displayText)
{
    return Append(nullptr, std::move(displayText));
}

TreeNode *ProjectTree::AddChild(TreeNode *parent, std::string displayText)
{
    return Append(parent, std::move(displayText));
}

void ProjectTree::Delete(TreeNode *node)
{
    Notify([&](TreeObserver &o) { o.BeforeRemove(node); });
    const bool selectionGoes = selected_ && selected_->IsInside(node);
    auto &siblings = SiblingsOf(node->parent_);
    siblings.erase(siblings.begin() + RowOf(node));  // frees the subtree and its records
    Notify([](TreeObserver &o) { o.AfterRemove(); });
    if (selectionGoes) {
        selected_ = nullptr;
        Notify([](TreeObserver &o) { o.SelectionChanged(nullptr); });
    }
}

bool ProjectTree::Move(TreeNode *node, TreeNode *target)
{
    if (!node || !target || target->IsInside(node))
        return false;
    Notify([&](TreeObserver &o) { o.BeforeMove(node, target); });
    auto &from = SiblingsOf(node->parent_);
    const auto it = from.begin() + RowOf(node);
    std::unique_ptr<TreeNode> owned = std::move(*it);
    from.erase(it);
    owned->parent_ = target;
    target->children_.push_back(std::move(owned));
    Notify([&](TreeObserver &o) { o.AfterMove(node); });
    return true;
}

void ProjectTree::Clear()
{
    Notify([](TreeObserver &o) { o.BeforeClear(); });
    const bool hadSelection = selected_ != nullptr;
    selected_ = nullptr;
    roots_.clear();
    Notify([](TreeObserver &o) { o.AfterClear(); });
    if (hadSelection)
        Notify([](TreeObserver &o) { o.SelectionChanged(nullptr); });
}

void ProjectTree::SetKind(TreeNode *node, NodeKind kind)
{
    node->kind_ = kind;
    Notify([&](TreeObserver &o) { o.NodeChanged(node); });
}

void ProjectTree::AttachRecord(TreeNode *node, TTreeRec record)
{
    if (!record.Doc)
        record.Doc = std::make_shared<Document>();
    node->record_ = std::make_shared<TTreeRec>(std::move(record));
    node->repeat_ = false;
}

void ProjectTree::ShareRecord(TreeNode *node, const TreeNode *first)
{
    node->record_ = first->record_;
    node->repeat_ = true;
}

void ProjectTree::Rename(TreeNode *node, std::string displayText)
{
    node->text_ = std::move(displayText);
    Notify([&](TreeObserver &o) { o.NodeChanged(node); });
    if (!fileOrder_)
        SortChildren(node->parent_);
}

void ProjectTree::SortChildren(TreeNode *parent)
{
    auto &siblings = SiblingsOf(parent);
    Notify([&](TreeObserver &o) { o.BeforeSort(parent); });
    std::stable_sort(siblings.begin(), siblings.end(), [](const auto &a, const auto &b) {
        return CompareDisplayTexts(a->text_, b->text_) < 0;
    });
    Notify([&](TreeObserver &o) { o.AfterSort(parent); });
}

void ProjectTree::SetSelected(TreeNode *node)
{
    if (selected_ == node)
        return;
    selected_ = node;
    Notify([&](TreeObserver &o) { o.SelectionChanged(node); });
}

TreeNode *ProjectTree::NextInPreOrder(const TreeNode *node) const
{
    if (!node->children_.empty())
        return node->children_.front().get();
    for (const TreeNode *n = node; n; n = n->parent_)
        if (TreeNode *next = NextSibling(n))
            return next;
    return nullptr;
}

int ProjectTree::Count() const
{
    int n = 0;
    for (const TreeNode *node = FirstTopLevel(); node; node = NextInPreOrder(node))
        ++n;
    return n;
}

TreeNode *ProjectTree::NodeAt(int preOrderIndex) const
{
    TreeNode *node = FirstTopLevel();
    for (int i = 0; node && i < preOrderIndex; ++i)
        node = NextInPreOrder(node);
    return preOrderIndex < 0 ? nullptr : node;
}

int ProjectTree::IndexOf(const TreeNode *target) const
{
    int i = 0;
    for (const TreeNode *node = FirstTopLevel(); node; node = NextInPreOrder(node), ++i)
        if (node == target)
            return i;
    return -1;
}

}  // namespace qasp
