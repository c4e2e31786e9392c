// The VBScript a node's text holds, for the declaration scan and the
// keyword store (which keep code page 936): a document's HTML and client
// script are blanked out, a procedure's text is code from its first byte,
// and a UTF-8 text is converted.
#pragma once

#include "editor/keyword_table.h"
#include "editor/page_state.h"
#include "project/project_tree.h"

#include <string>
#include <string_view>

namespace qasp {

class KeywordStore;

// Whether a node's text starts inside server code: a procedure's, and a
// whole .vbs file's.
bool StartsInCode(const TreeNode &node);

std::string ScriptOfNode(const TreeNode &node, std::string_view text);

// The server code of `text`, a text of `node`, in its own encoding and at
// its own byte positions: everything else blanked, line breaks kept.
std::string ScriptMaskOfNode(const TreeNode &node, std::string_view text);

// The server code of one line of a document that starts in `start`, in
// code page 936 for the store: the line is read as if the page before it
// only opened the block it starts in.
std::string ScriptOfLine(std::string_view line, PageState start, TextEncoding encoding);

// The text of `document` with the blocks of its procedures blanked (line
// breaks kept): the page-level code, whose names are the page's globals.
std::string PageLevelText(const TreeNode &document);

// ScanDeclarations on the script of the node's text: a document's page-level
// names go to key_public, a procedure's names to key_other.
void ScanNodeDeclarations(KeywordStore &store, const TreeNode &node);

}  // namespace qasp
