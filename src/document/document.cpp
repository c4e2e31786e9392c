#include "document/document.h"

#include "text/line_breaks.h"

#include <algorithm>

namespace qasp {

Document Document::FromFileBytes(std::filesystem::path file, std::string bytes, TextEncoding encoding)
{
    Document document(NormaliseLineBreaks(bytes), encoding);
    document.file_ = std::move(file);
    document.lineEnds_ = DetectLineEnds(bytes);
    document.savedBytes_ = std::move(bytes);
    return document;
}

Document::Document(std::string text, TextEncoding encoding)
    : text_(std::move(text)),
      savedText_(text_),
      encoding_(encoding)
{
}

std::string_view Document::TextOf(RangeId range) const
{
    const TextRange r = ranges_.At(range);
    return std::string_view(text_).substr(r.begin, r.Length());
}

std::string Document::FileBytes() const
{
    if (savedBytes_ && text_ == savedText_)
        return *savedBytes_;
    if (!savedBytes_)
        return lineEnds_ == LineEnds::CrLf ? text_ : RestoreLineBreaks(text_, {}, lineEnds_);
    return RestoreLineBreaks(text_, *savedBytes_, lineEnds_);
}

void Document::MarkSaved()
{
    savedBytes_ = FileBytes();
    savedText_ = text_;
}

bool Document::Apply(const TextEdit &edit, RangeId within, Joining joining)
{
    if (edit.removed.empty() && edit.inserted.empty())
        return true;
    MovingRanges::Places before = ranges_.Save();
    if (!ApplyEdit(text_, edit))
        return false;
    const size_t steps = history_.UndoSteps();
    if (joining == Joining::Consequence)
        history_.RecordConsequence(edit);
    else
        history_.Record(edit);
    // A new step remembers where the ranges were; a typed character that
    // joins the step before needs nothing.
    if (history_.UndoSteps() != steps) {
        placesBefore_.push_back(std::move(before));
        placesAfter_.clear();
    }
    ranges_.Shift(edit, within);
    Changed(edit);
    return true;
}

std::vector<TextEdit> Document::Undo()
{
    if (!history_.CanUndo())
        return {};
    MovingRanges::Places now = ranges_.Save();
    std::vector<TextEdit> step = history_.Undo(text_);
    // The step was applied backwards: its edits reversed, last first.
    std::reverse(step.begin(), step.end());
    for (TextEdit &e : step)
        e = Reversed(e);
    return Replay(std::move(step), placesBefore_, placesAfter_, std::move(now));
}

std::vector<TextEdit> Document::Redo()
{
    if (!history_.CanRedo())
        return {};
    MovingRanges::Places now = ranges_.Save();
    return Replay(history_.Redo(text_), placesAfter_, placesBefore_, std::move(now));
}

std::vector<TextEdit> Document::Replay(std::vector<TextEdit> edits, std::vector<MovingRanges::Places> &from,
                                       std::vector<MovingRanges::Places> &to, MovingRanges::Places now)
{
    for (const TextEdit &e : edits)
        ranges_.Shift(e);
    if (!from.empty()) {
        ranges_.Restore(from.back());
        from.pop_back();
    }
    to.push_back(std::move(now));
    for (const TextEdit &e : edits)
        Changed(e);
    return edits;
}

void Document::ClearHistory()
{
    history_.Clear();
    placesBefore_.clear();
    placesAfter_.clear();
}

void Document::Changed(const TextEdit &edit)
{
    ++revision_;
    for (DocumentObserver *observer : observers_)
        observer->TextChanged(*this, edit);
}

void Document::AddObserver(DocumentObserver *observer)
{
    observers_.push_back(observer);
}

void Document::RemoveObserver(DocumentObserver *observer)
{
    std::erase(observers_, observer);
}

}  // namespace qasp
