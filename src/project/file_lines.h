// Lines and columns of the file a node comes from. A document node shows
// its whole file, so its rows are the file's lines; a procedure node shows
// one contiguous run of them. The server's error messages name the file's
// line, so the gutter, the status bar and 转到行 count in file lines.
#pragma once

#include "text/text_encoding.h"

#include <cstddef>
#include <string_view>

namespace qasp {

class TreeNode;

// The document whose file holds `node`: the node itself for a document, a
// procedure's parent, and for a repeated inclusion the node that was loaded
// first (it has the procedures as children). Null for a node outside any.
const TreeNode *FileDocumentOf(const TreeNode &node);

// The file line (from 1) that row 0 of `node` stands on.
int FirstFileLineOf(const TreeNode &node);

// Where file line `line` (from 1) of `document`'s file is shown: the
// document node that owns the file and its row; a line past the end gives a
// null node.
struct NodeRow {
    const TreeNode *node = nullptr;
    int row = 0;
};
NodeRow NodeRowOfFileLine(const TreeNode &document, int line);

// The caret at byte `byteColumn` of row `row` (whose bytes are `rowText`)
// of `node`, as line and column (both from 1) of its file; the column counts
// characters.
struct FilePosition {
    int line = 1;
    int column = 1;
};
FilePosition FilePositionOf(const TreeNode &node, int row, std::string_view rowText, std::size_t byteColumn);

// How many lines the file of `document` has.
int FileLineCount(const TreeNode &document);

// Characters in `bytes`: a Chinese character counts one in GBK and in UTF-8
// alike; a byte that is no character in the encoding counts one.
std::size_t CharacterCount(TextEncoding encoding, std::string_view bytes);

}  // namespace qasp
