// Writing the project tree back: each document as an .asp file in the
// project layout, joined by include lines, or the whole tree as one single
// document. A save writes all its files or none of them (see
// save_transaction.h); where each document goes is decided first (see
// save_targets.h), and so is everything that may stop the save, before
// anything is written.
#pragma once

#include "project/file_operations.h"
#include "project/project_tree.h"
#include "project/save_questions.h"
#include "project/save_transaction.h"
#include "project/write_error.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

class Prompter;

// The bytes of one document's file: the header lines when `header` is set,
// an include line per document child, "<%", the page text, each function's
// text and an empty line, "%>"; every line ended by CR LF.
std::string AspDocumentBytes(const TreeNode &node, bool header);

// The bytes of the whole tree as one document with one script block.
std::string SingleDocumentBytes(const ProjectTree &tree, bool optionExplicit);

enum class SaveOutcome {
    Saved,            // every file written
    Cancelled,        // nothing written: the user said no, or there was nothing to save
    ReloadRequested,  // nothing written: the user wants the changed files loaded again
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Cancelled;
    // Saved: the old files kept as backups.
    std::vector<BackupMade> backups;
    // ReloadRequested: the files changed on disk since they were loaded, as
    // their documents' records name them (TTreeRec::SourceFile).
    std::vector<std::filesystem::path> reload;
    // Saved: what could not be kept of a replaced file (its owner, ...).
    std::vector<std::string> notices;
    // Temporary files of earlier, killed saves removed on the way (also
    // when nothing was written).
    std::vector<std::filesystem::path> staleRemoved;

    // A save that wrote what `report` says, after removing `stale`.
    static SaveResult Written(WriteReport report, std::vector<std::filesystem::path> stale);
};

// Writes `node` and every document below it into `dir`; a document named
// with forward slashes ("inc/conn.asp") lands in that subdirectory, created
// when missing. Before anything is written: documents that would land
// outside `dir` or two documents on one file throw WriteError; a file a
// document was read from that changed on disk since, or whose content the
// layout cannot give back, is asked about (or decided by `policy`); a file
// replaced after such a question keeps a backup. After the save, the
// records of the documents written back to their files hold the new files'
// fingerprints. Any failure throws WriteError with every file as it was.
SaveResult SaveAspDocument(TreeNode *node, const std::filesystem::path &dir, bool header, Prompter &prompter,
                           OverwritePolicy policy = OverwritePolicy::Ask,
                           FileOperations &files = SystemFiles());

// Writes the whole tree as one document into `file` (through a symbolic
// link to its target). When `file` is a file a document was read from, it
// is asked about (or decided by `policy`) and keeps a backup when replaced.
SaveResult SaveSingleDocument(ProjectTree &tree, const std::filesystem::path &file, bool optionExplicit,
                              Prompter &prompter, OverwritePolicy policy = OverwritePolicy::Ask,
                              FileOperations &files = SystemFiles());

// Replaces `path` (through a symbolic link) by `bytes` through a temporary
// file in the same directory.
void WriteFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         FileOperations &files = SystemFiles());

}  // namespace qasp
