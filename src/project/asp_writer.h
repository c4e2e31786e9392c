// Writing the project tree back: each document as an .asp file in the
// project layout, joined by include lines, or the whole tree as one single
// document. Every file is written to a temporary file beside it and renamed
// into place, so a failure never leaves a half-written file where a good one
// was.
#pragma once

#include "project/project_tree.h"
#include "project/write_error.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

class Prompter;

// A save that would replace files the layout cannot give back, refused by
// OverwritePolicy::Refuse before anything was written.
struct OverwriteRefused : WriteError {
    using WriteError::WriteError;
};

// The bytes of one document's file: the header lines when `header` is set,
// an include line per document child, "<%", the page text, each function's
// text and an empty line, "%>"; every line ended by CR LF.
std::string AspDocumentBytes(const TreeNode &node, bool header);

// The bytes of the whole tree as one document with one script block.
std::string SingleDocumentBytes(const ProjectTree &tree, bool optionExplicit);

// What a save does when it would overwrite the file a document was loaded
// from although the project layout cannot give that file back.
enum class OverwritePolicy {
    Ask,     // ask once, listing the files; Yes keeps each old file as NAME.bak
    Force,   // write them, keeping NAME.bak
    Refuse,  // write nothing and throw WriteError
};

// Writes `node` and every document below it into `dir`; a document named
// with forward slashes ("inc/conn.asp") lands in that subdirectory, created
// when missing. All files are written beside their places before any of
// them replaces an old file, so an error while writing changes nothing.
// Returns false when nothing was written because the user said no (or there
// was no node).
bool SaveAspDocument(const TreeNode *node, std::string_view dir, bool header, Prompter &prompter,
                     OverwritePolicy policy = OverwritePolicy::Ask);

bool SaveSingleDocument(const ProjectTree &tree, std::string_view fileName, bool optionExplicit,
                        Prompter &prompter, OverwritePolicy policy = OverwritePolicy::Ask);

// Replaces `path` by `bytes` through a temporary file in the same directory;
// with `backup`, the old file is kept as path + ".bak".
void WriteFileAtomically(const std::string &path, std::string_view bytes, bool backup);

}  // namespace qasp
