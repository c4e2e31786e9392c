// The editor's handlers while the user types: the colour of a typed
// character, the completion list, the re-scan of a declaration line the
// caret leaves, block indentation, F3, and the caret's row and column.
#pragma once

#include <cstdint>

namespace qasp {

class CompletionList;
class ProjectWorkspace;
class Prompter;

// Keys by their virtual-key codes.
enum VirtualKey : int {
    kVkTab = 9, kVkPageUp = 33, kVkPageDown = 34, kVkEnd = 35, kVkHome = 36,
    kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkF3 = 114,
};

class EditorKeys {
public:
    EditorKeys(ProjectWorkspace &ws, CompletionList &list, Prompter &prompter);

    // The caret or the selection moved.
    void CMemoSelectionChange();
    // A character is about to be typed; true when it is swallowed.
    bool CMemoKeyPress(char32_t character);
    // A key went down; true when it is swallowed.
    bool CMemoKeyDown(int key, bool shift);
    // The editor lost the focus.
    void CMemoExit();

private:
    void RescanLeftLine(int row);
    void AcceptCompletion();

    ProjectWorkspace &ws_;
    CompletionList &list_;
    Prompter &prompter_;
    bool inSelectionChange_ = false;
};

}  // namespace qasp
