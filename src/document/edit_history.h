// The undo history of one text: the user's actions as steps, each a list of
// byte-range replacements. Keystrokes of one typing run (or one run of
// Backspace or Delete) join one step; any other change is a step of its own.
// Steps are learnt by comparing the text before and after each change, so
// whatever changed the text (a key, a paste, a completion, an indent, the
// input method) is recorded, and undoing gives back exactly the bytes before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// Bytes [offset, offset + removed.size()) were replaced by `inserted`.
struct TextEdit {
    size_t offset = 0;
    std::string removed;
    std::string inserted;

    bool operator==(const TextEdit &) const = default;
};

// The smallest edit that turns `before` into `after` (common head and tail
// left out); nullopt-like empty edit (both empty) when they are equal.
TextEdit DiffTexts(std::string_view before, std::string_view after);

class EditHistory {
public:
    // The text went from `before` to `after`.
    void Record(std::string_view before, std::string_view after);
    // The same, when the change is known as the edit between the two texts.
    void Record(TextEdit edit);
    // The program rewrote the text as part of the user's last action (a word
    // put into its stored spelling when the caret left its line): undoing
    // that action undoes both.
    void RecordConsequence(std::string_view before, std::string_view after);
    void RecordConsequence(TextEdit edit);
    // The next change starts a new step (the caret was moved, or the last
    // change was a whole action such as a completion); an open step closes.
    void EndStep()
    {
        sealed_ = true;
        open_ = false;
    }
    // Every change until EndStep is one step, named `label` for the menu
    // ("全部替换"); a nonzero `group` ties it to the steps of other texts
    // changed by the same action, which are undone with it.
    void BeginStep(std::string label, std::uint64_t group = 0);
    void Clear();

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The group and the name of the step Undo (Redo) would take back; 0 and
    // empty for a step of the user's typing.
    std::uint64_t UndoGroup() const { return undo_.empty() ? 0 : undo_.back().group; }
    std::uint64_t RedoGroup() const { return redo_.empty() ? 0 : redo_.back().group; }
    std::string UndoLabel() const { return undo_.empty() ? std::string() : undo_.back().label; }
    std::string RedoLabel() const { return redo_.empty() ? std::string() : redo_.back().label; }

    // Applies the last step backwards to `text` and returns the edits as they
    // were made (the caller redraws their ranges); empty when there is
    // nothing to undo or the text does not hold what the step left (it was
    // changed behind the history's back: the history is then cleared).
    std::vector<TextEdit> Undo(std::string &text);
    std::vector<TextEdit> Redo(std::string &text);

    size_t UndoSteps() const { return undo_.size(); }

private:
    enum class Kind { Typing, Deleting, Other };
    struct Step {
        Kind kind;
        std::vector<TextEdit> edits;
        std::string label;
        std::uint64_t group = 0;
    };

    // Takes the last step of `from` onto `to`, applying it to `text`.
    std::vector<TextEdit> Move(std::vector<Step> &from, std::vector<Step> &to, std::string &text,
                               bool backwards);

    std::vector<Step> undo_;
    std::vector<Step> redo_;
    bool sealed_ = true;
    // BeginStep was called: edits join the last step (made by the first of
    // them) until EndStep.
    bool open_ = false;
    bool openStarted_ = false;
    std::string openLabel_;
    std::uint64_t openGroup_ = 0;
};

// The edit reversed: what turns the text after it back into the text before.
TextEdit Reversed(const TextEdit &edit);
// Applies `edit` to `text`; false (text untouched) when the bytes it replaces
// are not there.
bool ApplyEdit(std::string &text, const TextEdit &edit);

}  // namespace qasp
