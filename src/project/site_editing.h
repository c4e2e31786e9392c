// Tree edits of a site that change the text of files: a document node
// stands for an include directive in the document above it, and a
// procedure node for a range of its document's file. Removing, adding or
// moving such a node edits those texts so that saving writes the files the
// tree shows. Each edit of a document's text is one step of its undo
// history.
#pragma once

#include "project/project_tree.h"

#include <string>
#include <string_view>

namespace qasp {

// Removes the include directive that brings `document` into its parent
// document (the whole line when the directive stands alone on it). False
// when the parent's text holds no such directive.
bool RemoveIncludeDirective(TreeNode &document);

// Adds a directive including `includePath` (page text in code page 936) to
// `parent`: after its "<%@ %>" line when it has one (that line must stay
// the page's first command), else at its start.
void AddIncludeDirective(TreeNode &parent, std::string_view includePath);

// Puts `text` (in the document's encoding) at the end of the last script
// block of `document` (see PlaceForNewProcedure), as one undo step, and
// makes `procedure` the view of it.
void PlaceProcedure(TreeNode &procedure, TreeNode &document, std::string text);

// Takes the text of `procedure` out of its document, as one undo step. The
// node stays; the caller deletes or moves it.
bool RemoveProcedureText(TreeNode &procedure);

// Moves `node` under `target` as ProjectTree::Move does, taking its text
// along: a procedure's bytes leave its old file and join the new one, a
// document's directive leaves its old parent and joins the new one.
bool MoveNodeWithText(ProjectTree &tree, TreeNode *node, TreeNode *target);

}  // namespace qasp
