// The project: one tree of documents and procedures, each node carrying its
// record. A document node is a view of
// a whole file's Document; a procedure node a view of its block in that
// same Document. The tree is the only model of the project; views follow it
// through TreeObserver.
#pragma once

#include "document/document.h"
#include "project/file_fingerprint.h"
#include "text/line_ends.h"
#include "text/text_encoding.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// What a node is: a file's document, or one of its procedures.
enum class NodeKind { Document, Procedure };
// The icons of the tree's image list that show the kinds.
constexpr int kDocumentImage = 0;
constexpr int kFunctionImage = 1;

// A node's record: the document it shows and, for a procedure, which range
// of it; and its status line. A loaded document also knows the file it came
// from (its real path on disk), what that file looked like when it was
// read, and whether writing it back in the project layout would not give
// back that file's bytes (HTML outside the script block, text after "%>",
// ...).
struct TTreeRec {
    TTreeRec() = default;
    // A record showing a new document of its own that holds `text` (lines
    // joined by CR LF) in `encoding`.
    TTreeRec(std::string text, std::string info = {}, TextEncoding encoding = TextEncoding::Gbk);

    // Shared by a document node, its procedures and its repeated inclusions.
    std::shared_ptr<Document> Doc;
    // A procedure's block in Doc; kNoRange: the node shows all of Doc.
    RangeId Range = kNoRange;
    std::string Info;
    std::filesystem::path SourceFile;
    std::optional<FileFingerprint> Loaded;
    bool LayoutLoses = false;
    // The text, or a document's place in the tree, changed since the file
    // was read or written.
    bool Edited = false;

    // The text the node shows.
    std::string_view Text() const;
    // Where that text starts in Doc.
    size_t Begin() const { return Range == kNoRange || !Doc ? 0 : Doc->Ranges().At(Range).begin; }
};

class TreeNode {
public:
    TreeNode() = default;
    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;
    ~TreeNode();

    const std::string &DisplayText() const { return text_; }
    NodeKind Kind() const { return kind_; }
    bool IsDocument() const { return kind_ == NodeKind::Document; }
    // The icon that shows the node's kind, selected or not.
    int ImageIndex() const { return IsDocument() ? kDocumentImage : kFunctionImage; }
    // A document included again elsewhere in the project: it shares the
    // record of the node where the file was first loaded (an edit of either
    // is an edit of both) and shows no children of its own; its file is
    // written from that first node.
    bool IsRepeat() const { return repeat_; }

    TreeNode *Parent() const { return parent_; }
    const std::vector<std::unique_ptr<TreeNode>> &Children() const { return children_; }
    TreeNode *FirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    bool IsInside(const TreeNode *ancestor) const;  // ancestor itself counts

    // The record; a node may have none yet (a document while it loads).
    TTreeRec *Record() { return record_.get(); }
    const TTreeRec *Record() const { return record_.get(); }
    // The text the node shows, empty without a record.
    std::string_view Text() const { return record_ ? record_->Text() : std::string_view(); }
    // The document the node shows, null without a record.
    Document *Doc() const { return record_ ? record_->Doc.get() : nullptr; }
    // The encoding of that text: its file's, GBK without a record.
    TextEncoding Encoding() const { return Doc() ? Doc()->Encoding() : TextEncoding::Gbk; }

private:
    friend class ProjectTree;
    std::string text_;
    NodeKind kind_ = NodeKind::Document;
    TreeNode *parent_ = nullptr;
    std::vector<std::unique_ptr<TreeNode>> children_;
    std::shared_ptr<TTreeRec> record_;
    bool repeat_ = false;
};

// Told of every change, before and after, so a view can keep in step.
class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    virtual void BeforeInsert(TreeNode * /*parent, null: top level*/, int /*row*/) {}
    virtual void AfterInsert(TreeNode * /*node*/) {}
    virtual void BeforeRemove(TreeNode * /*node*/) {}
    virtual void AfterRemove() {}
    virtual void BeforeMove(TreeNode * /*node*/, TreeNode * /*newParent*/) {}
    virtual void AfterMove(TreeNode * /*node*/) {}
    virtual void BeforeSort(TreeNode * /*parent*/) {}
    virtual void AfterSort(TreeNode * /*parent*/) {}
    virtual void NodeChanged(TreeNode * /*node: display text or images*/) {}
    virtual void BeforeClear() {}
    virtual void AfterClear() {}
    virtual void SelectionChanged(TreeNode * /*node*/) {}
};

class ProjectTree {
public:
    ProjectTree() = default;
    ProjectTree(const ProjectTree &) = delete;
    ProjectTree &operator=(const ProjectTree &) = delete;

    void AddObserver(TreeObserver *observer);
    void RemoveObserver(TreeObserver *observer);

    // New document nodes without a record, appended last.
    TreeNode *AddTopLevel(std::string displayText);
    TreeNode *AddChild(TreeNode *parent, std::string displayText);
    // Removes the node with its subtree and their records.
    void Delete(TreeNode *node);
    // Makes `node` the last child of `target`; refuses (false) a target
    // inside the moved node. Selection is not touched.
    bool Move(TreeNode *node, TreeNode *target);
    void Clear();

    void SetKind(TreeNode *node, NodeKind kind);
    void AttachRecord(TreeNode *node, TTreeRec record = {});
    // Makes `node` a repeat of `first`: both hold one record.
    void ShareRecord(TreeNode *node, const TreeNode *first);
    // A new display text; the node's siblings are sorted again unless the
    // tree keeps file order.
    void Rename(TreeNode *node, std::string displayText);
    // A tree of a site shows each document's includes and procedures in the
    // order they stand in its file; a renamed node keeps its place.
    void SetFileOrder(bool fileOrder) { fileOrder_ = fileOrder; }
    bool FileOrder() const { return fileOrder_; }
    // Sorts the children of `parent` (the top level when null) by display
    // text, locale-aware and case-sensitive; equal texts keep their order.
    void SortChildren(TreeNode *parent);

    TreeNode *Selected() const { return selected_; }
    void SetSelected(TreeNode *node);

    const std::vector<std::unique_ptr<TreeNode>> &TopLevel() const { return roots_; }
    TreeNode *FirstTopLevel() const { return roots_.empty() ? nullptr : roots_.front().get(); }
    int RowOf(const TreeNode *node) const;  // index among its siblings
    TreeNode *NextSibling(const TreeNode *node) const;
    // Depth-first pre-order: a node, its subtree, then its next sibling.
    TreeNode *NextInPreOrder(const TreeNode *node) const;
    int Count() const;
    TreeNode *NodeAt(int preOrderIndex) const;
    int IndexOf(const TreeNode *node) const;

private:
    std::vector<std::unique_ptr<TreeNode>> &SiblingsOf(TreeNode *parent);
    const std::vector<std::unique_ptr<TreeNode>> &SiblingsOf(const TreeNode *parent) const;
    TreeNode *Append(TreeNode *parent, std::string displayText);
    template <typename F> void Notify(F f);

    std::vector<std::unique_ptr<TreeNode>> roots_;
    TreeNode *selected_ = nullptr;
    std::vector<TreeObserver *> observers_;
    bool fileOrder_ = false;
};

}  // namespace qasp
