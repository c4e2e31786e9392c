// A site document's file is its node's text with the text of each of its
// procedures put back where it stood. The procedures are children of the
// document node; each remembers its place as a byte offset into the
// document's text (TTreeRec::Anchor), which moves with every edit of the
// text around it. The tree may show the children in any order: the file
// order is the order of the anchors.
#pragma once

#include "document/edit_history.h"
#include "project/project_tree.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// The procedures of `document` in the order they stand in its file.
std::vector<const TreeNode *> ProceduresInFileOrder(const TreeNode &document);

// The text of the file of `document` (line breaks CR LF, as node texts
// have them): for a document loaded without procedure places (or a new
// one) just its text.
std::string AssembleDocument(const TreeNode &document);

// The bytes to write for `document`: the assembled text with the file's
// own line ends put back (line_breaks.h). An unedited document gives the
// bytes it was read from.
std::string FileBytesOf(const TreeNode &document);

// Replaces the text of `node`; when it is a document, its procedures keep
// their places in the text around them. A procedure whose surroundings were
// replaced stands where the replacement begins; text inserted right at a
// procedure's place comes after it.
void SetNodeText(TreeNode &node, std::string text);
// The same for one known edit of the node's text (the bytes it removes
// must be there).
void EditNodeText(TreeNode &node, const TextEdit &edit);

// The procedures of `document` keep their places through `edit` of its
// text (SetNodeText does this for the one edit between two texts; a caller
// that knows several edits passes each).
void ShiftProcedureAnchors(TreeNode &document, const TextEdit &edit);

// The place for a new procedure in `document`: the start of the line that
// closes its last script block (a line break is put before a "%>" that
// shares its line with code). When the text has no script block, one is
// appended and the place is inside it.
std::size_t PlaceForNewProcedure(TreeNode &document);

// The next free rank at `anchor` among the procedures of `document`.
int NextRankAt(const TreeNode &document, std::size_t anchor);

}  // namespace qasp
