// Files changed by another program while the project is open: found by
// comparing each document's file with what was read, and read again where
// the user wants it.
#pragma once

#include "project/file_fingerprint.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qasp {

class ProjectWorkspace;
class Prompter;
class TreeNode;
class ProjectTree;

// The documents (one node per file) whose file on disk is no longer what
// was read: changed, or gone.
std::vector<TreeNode *> DocumentsChangedOnDisk(const ProjectTree &tree);

// Whether the user changed a document since its file was read: its text,
// its functions, or the documents it includes.
bool DocumentEdited(const TreeNode &document);

// A node's labels from the top level down, and the node at such a path in
// a tree read anew (the deepest one found, null for none): what was shown
// or open before a reload is found again by them.
std::vector<std::string> LabelPath(const TreeNode *node);
TreeNode *NodeAtLabelPath(const ProjectTree &tree, const std::vector<std::string> &labels);

// Reads a document's file again: the node and the documents it includes are
// loaded anew in its place (the whole project for the root, or for a file
// the project includes more than once). Edits of that part are dropped.
// Throws what the loader throws; the project is then left as it was.
void ReloadDocument(ProjectWorkspace &ws, TreeNode *document);

// What the user was already told about each file: a file is asked about
// again only when it changes again.
using OutsideChangeMemory = std::map<std::filesystem::path, std::optional<FileFingerprint>>;

// Asks about every document whose file changed outside (keeping the user's
// edits unless they choose to reload) and reloads those the user wants.
void OfferReloads(ProjectWorkspace &ws, Prompter &prompter, OutsideChangeMemory &told);

}  // namespace qasp
