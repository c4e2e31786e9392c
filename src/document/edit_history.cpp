#include "document/edit_history.h"

#include <algorithm>

namespace qasp {

namespace {

// One typed character: a byte, a double-byte character or a line break.
constexpr size_t kCharacterBytes = 2;

bool IsTyping(const TextEdit &e)
{
    return e.removed.empty() && !e.inserted.empty() && e.inserted.size() <= kCharacterBytes;
}

bool IsDeleting(const TextEdit &e)
{
    return e.inserted.empty() && !e.removed.empty() && e.removed.size() <= kCharacterBytes;
}

}  // namespace

TextEdit DiffTexts(std::string_view before, std::string_view after)
{
    const size_t shorter = std::min(before.size(), after.size());
    size_t head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    size_t tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {head, std::string(before.substr(head, before.size() - head - tail)),
            std::string(after.substr(head, after.size() - head - tail))};
}

TextEdit Reversed(const TextEdit &edit)
{
    return {edit.offset, edit.inserted, edit.removed};
}

bool ApplyEdit(std::string &text, const TextEdit &edit)
{
    if (edit.offset > text.size() || text.compare(edit.offset, edit.removed.size(), edit.removed) != 0)
        return false;
    text.replace(edit.offset, edit.removed.size(), edit.inserted);
    return true;
}

void EditHistory::Record(std::string_view before, std::string_view after)
{
    Record(DiffTexts(before, after));
}

void EditHistory::Record(TextEdit edit)
{
    if (edit.removed.empty() && edit.inserted.empty())
        return;
    redo_.clear();
    if (open_) {
        if (!openStarted_)
            undo_.push_back({Kind::Other, {}, openLabel_, openGroup_});
        openStarted_ = true;
        undo_.back().edits.push_back(std::move(edit));
        return;
    }
    const Kind kind = IsTyping(edit) ? Kind::Typing : IsDeleting(edit) ? Kind::Deleting : Kind::Other;
    if (!sealed_ && !undo_.empty() && undo_.back().kind == kind && kind != Kind::Other) {
        TextEdit &last = undo_.back().edits.back();
        // A typed character right behind the run, a line break ending it; a
        // Backspace right before the run or a Delete at its place.
        const bool joins = kind == Kind::Typing ? edit.offset == last.offset + last.inserted.size()
                                                      && last.inserted.find("\r\n") == std::string::npos
                                                : edit.offset + edit.removed.size() == last.offset
                                                      || edit.offset == last.offset;
        if (joins) {
            if (kind == Kind::Typing)
                last.inserted += edit.inserted;
            else if (edit.offset == last.offset)
                last.removed += edit.removed;
            else
                last = {edit.offset, edit.removed + last.removed, {}};
            return;
        }
    }
    undo_.push_back({kind, {std::move(edit)}, {}, 0});
    sealed_ = kind == Kind::Other;
}

void EditHistory::RecordConsequence(std::string_view before, std::string_view after)
{
    RecordConsequence(DiffTexts(before, after));
}

void EditHistory::RecordConsequence(TextEdit edit)
{
    if (edit.removed.empty() && edit.inserted.empty())
        return;
    if (undo_.empty()) {
        undo_.push_back({Kind::Other, {}, {}, 0});
        redo_.clear();
    }
    undo_.back().edits.push_back(std::move(edit));
    sealed_ = true;
}

void EditHistory::BeginStep(std::string label, std::uint64_t group)
{
    open_ = true;
    openStarted_ = false;
    openLabel_ = std::move(label);
    openGroup_ = group;
}

void EditHistory::Clear()
{
    open_ = false;
    undo_.clear();
    redo_.clear();
    sealed_ = true;
}

std::vector<TextEdit> EditHistory::Undo(std::string &text)
{
    return Move(undo_, redo_, text, true);
}

std::vector<TextEdit> EditHistory::Redo(std::string &text)
{
    return Move(redo_, undo_, text, false);
}

std::vector<TextEdit> EditHistory::Move(std::vector<Step> &from, std::vector<Step> &to, std::string &text,
                                        bool backwards)
{
    if (from.empty())
        return {};
    Step step = std::move(from.back());
    from.pop_back();
    const std::string before = text;
    const auto apply = [&](const TextEdit &e) { return ApplyEdit(text, backwards ? Reversed(e) : e); };
    const bool applied = backwards ? std::all_of(step.edits.rbegin(), step.edits.rend(), apply)
                                   : std::all_of(step.edits.begin(), step.edits.end(), apply);
    if (!applied) {
        text = before;
        Clear();
        return {};
    }
    std::vector<TextEdit> done = step.edits;
    to.push_back(std::move(step));
    sealed_ = true;
    return done;
}

}  // namespace qasp
