// The editor's handlers while the user types: the colour of a typed
// character, the completion list, the re-scan of a declaration line the
// caret leaves, block indentation, F3, and the caret's row and column.
#pragma once

#include <cstdint>
#include <string>

namespace qasp {

class CompletionList;
class ProjectWorkspace;
class Prompter;

// The keys the editor's handlers act on when they go down; every other key
// reaches them only as a typed character.
enum class EditorKey { Tab, PageUp, PageDown, End, Home, Left, Up, Right, Down, F3 };

class EditorKeys {
public:
    EditorKeys(ProjectWorkspace &ws, CompletionList &list, Prompter &prompter);

    // The caret or the selection moved.
    void CMemoSelectionChange();
    // A character is about to be typed; true when it is swallowed.
    bool CMemoKeyPress(char32_t character);
    // A key went down; true when it is swallowed.
    bool CMemoKeyDown(EditorKey key, bool shift);
    // The editor lost the focus.
    void CMemoExit();
    // Ctrl+/: comments or uncomments the selected lines, one undo step.
    void ToggleComments();
    // Whether a character that ends a word (space, punctuation) takes the
    // highlighted completion before it is typed; off, only Tab and Enter do.
    void SetCompleteOnWordEnd(bool on) { completeOnWordEnd_ = on; }

private:
    void RescanLeftLine(int row);
    // The caret's file line and column in the status bar.
    void ShowCaretPlace();
    void AcceptCompletion();
    void OutdentClosingKeyword(int row, const std::string &typed);
    void BreakLineKeepingIndent();
    void OutdentLines();
    // The program's own edit of the editor as an undo step of its own, which
    // the node takes in one change; `write` returns false when it wrote
    // nothing.
    template <typename Write> void AsOneUndoStep(Write &&write);
    // Lists the members of the object named before the dot that ends
    // `before`; false when it names none the table knows.
    bool ListMembers(const std::string &before, const std::string &prefix);

    ProjectWorkspace &ws_;
    CompletionList &list_;
    Prompter &prompter_;
    bool inSelectionChange_ = false;
    bool completeOnWordEnd_ = false;
};

}  // namespace qasp
