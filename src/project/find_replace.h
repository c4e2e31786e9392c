// The find dialog's commands over the project: find the next match from the
// caret, in the selected node or through every node in tree order, wrapping
// round once; replace the selected match; replace every match, each node's
// replacements one undo step of that node. Texts to and from the user are
// UTF-8.
#pragma once

#include "editor/text_matcher.h"

#include <string>

namespace qasp {

class ProjectWorkspace;

enum class FindScope { Node, Project };

struct FindRequest {
    std::string pattern;
    std::string replacement;
    FindOptions options;
    bool wrap = true;
    FindScope scope = FindScope::Node;
};

struct FindOutcome {
    bool found = false;
    // The match lies before the caret: the search went past the end of the
    // node or of the project and on from the start.
    bool wrapped = false;
    size_t replaced = 0;
    std::string message;  // for the dialog's status line; empty when all went as asked
};

// Selects the next match after the selection (and its node).
FindOutcome FindNextMatch(ProjectWorkspace &ws, const FindRequest &request);
// Replaces the selection when it is a match, then finds the next.
FindOutcome ReplaceAndFindNext(ProjectWorkspace &ws, const FindRequest &request);
// Replaces every match of the selected node or of every node. The node
// selected before stays selected.
FindOutcome ReplaceAllMatches(ProjectWorkspace &ws, const FindRequest &request);

}  // namespace qasp
