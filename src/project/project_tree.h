// The project: one tree of documents (image index 0) and functions (any
// other index), each node carrying its record. The tree is the only model
// of the project; views follow it through TreeObserver.
#pragma once

#include "document/edit_history.h"
#include "project/file_fingerprint.h"
#include "text/line_ends.h"
#include "text/text_encoding.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qasp {

constexpr int kDocumentImage = 0;
constexpr int kFunctionImage = 1;

// A node's record: its source text (lines joined by CR LF, code page 936)
// and its status line. A loaded document also knows the file it came from
// (its real path on disk), what that file looked like when it was read, and
// whether writing it back in the project layout would not give back that
// file's bytes (HTML outside the script block, text after "%>", ...).
struct TTreeRec {
    TTreeRec(std::string text = {}, std::string info = {}) : Text(std::move(text)), Info(std::move(info)) {}

    std::string Text;
    std::string Info;
    std::filesystem::path SourceFile;
    std::optional<FileFingerprint> Loaded;
    bool LayoutLoses = false;
    // The text, or a document's functions, changed since the file was read.
    bool Edited = false;
    // The user's edits of Text, for undo and redo.
    EditHistory History;

    // A document read from a site: the file's bytes as read, so that a save
    // leaves the file alone while they come back unchanged, and how its text
    // is written (node texts keep the file's own encoding and line ends).
    std::optional<std::string> LoadedBytes;
    TextEncoding Encoding = TextEncoding::Gbk;
    LineEnds LineBreaks = LineEnds::CrLf;
    // A procedure of a site document: it stands in its document's text just
    // before byte Anchor; Rank orders procedures that stand at one place.
    std::optional<std::size_t> Anchor;
    int Rank = 0;
};

class TreeNode {
public:
    TreeNode() = default;
    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;
    ~TreeNode();

    const std::string &DisplayText() const { return text_; }
    int ImageIndex() const { return image_; }
    int SelectedIndex() const { return selectedImage_; }
    bool IsDocument() const { return image_ == kDocumentImage; }
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
    // Text of the record, empty without one.
    const std::string &Text() const;
    // The encoding of that text: its file's, GBK without a record.
    TextEncoding Encoding() const { return record_ ? record_->Encoding : TextEncoding::Gbk; }

private:
    friend class ProjectTree;
    std::string text_;
    int image_ = kDocumentImage;
    int selectedImage_ = kDocumentImage;
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

    void SetImages(TreeNode *node, int image);  // image and selected image alike
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
