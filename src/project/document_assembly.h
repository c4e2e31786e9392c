// A document node shows its whole file; each of its procedures is a node
// showing one range of that same Document, which moves with every edit of
// the text around it. These are the edits of a node's text and the places
// of its procedures.
#pragma once

#include "document/edit_history.h"
#include "project/project_tree.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// The procedures of `document` in the order they stand in its file.
std::vector<const TreeNode *> ProceduresInFileOrder(const TreeNode &document);

// The bytes to write for `document`'s file: its text with the file's own
// line ends put back (line_breaks.h). An unedited document gives the bytes
// it was read from.
std::string FileBytesOf(const TreeNode &document);

// The text of `document` without the blocks of its procedures: what the
// project layout writes as the page, the procedures following it.
std::string TextOutsideProcedures(const TreeNode &document);

// Replaces the text `node` shows by `text`, as one edit of its document (the
// part that differs); a procedure's range takes in what is written at its
// edges.
void SetNodeText(TreeNode &node, std::string_view text);
// The same for one known edit of the node's text (offsets in the node's
// text; the bytes it removes must be there). False when they are not.
bool EditNodeText(TreeNode &node, const TextEdit &edit, Document::Joining joining = Document::Joining::User);

// The place for a new procedure in `document`: the start of the line that
// closes its last script block (a line break is put before a "%>" that
// shares its line with code). When the text has no script block, one is
// appended and the place is inside it.
std::size_t PlaceForNewProcedure(TreeNode &document);

}  // namespace qasp
