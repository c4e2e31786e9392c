// One document per file: the file's whole text (procedures included), its
// encoding and line ends, its undo history, a revision number, and the
// ranges of its procedures and include directives, which move with every
// edit. Tree nodes and the editor are views of a document and a range of
// it; whatever view makes an edit, every other view sees it at once, and
// undo covers every change of the file.
//
// The text breaks its lines with CR LF whatever the file does (every line
// rule of the program works on that); the file's own line ends come back
// when its bytes are made (FileBytes), so an unedited file comes back byte
// for byte. Positions are byte offsets into the text.
#pragma once

#include "document/moving_ranges.h"
#include "document/edit_history.h"
#include "text/line_ends.h"
#include "text/text_encoding.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

class Document;

// Told of every change of a document's text, after it is made.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void TextChanged(Document & /*document*/, const TextEdit & /*edit*/) {}
};

class Document {
public:
    // A document read from `file`: `bytes` as they are on disk, decoded in
    // no way (the text keeps the file's encoding), lines joined by CR LF.
    static Document FromFileBytes(std::filesystem::path file, std::string bytes, TextEncoding encoding);
    // A document made in the editor: no file yet, lines ended by CR LF.
    explicit Document(std::string text = {}, TextEncoding encoding = TextEncoding::Gbk);

    Document(Document &&) = default;
    Document &operator=(Document &&) = default;
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    const std::string &Text() const { return text_; }
    std::string_view TextOf(RangeId range) const;
    TextEncoding Encoding() const { return encoding_; }
    LineEnds LineBreaks() const { return lineEnds_; }
    // A new document takes the line ends of the file that includes it.
    void SetLineBreaks(LineEnds ends) { lineEnds_ = ends; }
    // The file's bytes when it was last read or written; none for a
    // document that has no file yet.
    const std::optional<std::string> &SavedBytes() const { return savedBytes_; }
    const std::filesystem::path &File() const { return file_; }
    void SetFile(std::filesystem::path file) { file_ = std::move(file); }
    // Grows by one with every change of the text, undo and redo included.
    std::uint64_t Revision() const { return revision_; }
    // The text is not what was last read or written.
    bool Modified() const { return text_.size() != savedText_.size() || text_ != savedText_; }

    // The bytes for the file: the text with the file's own line ends put
    // back on every line the edits did not reach.
    std::string FileBytes() const;
    // The file now holds FileBytes(): they become the unedited state.
    void MarkSaved();

    MovingRanges &Ranges() { return ranges_; }
    const MovingRanges &Ranges() const { return ranges_; }

    // How an edit joins the undo history: as the user's (typing runs join
    // one step), or as the program's rewrite that belongs to the user's last
    // step (a word put into its stored spelling) and is undone with it.
    enum class Joining { User, Consequence };
    // Replaces `edit.removed` at `edit.offset` by `edit.inserted`; false
    // (nothing changed) when those bytes are not there. The range `within`
    // (the range of the view that made the edit) takes in text typed at
    // its edges; every other range keeps its text only.
    bool Apply(const TextEdit &edit, RangeId within = kNoRange, Joining joining = Joining::User);
    // The next edit starts a new undo step.
    void EndUndoStep() { history_.EndStep(); }
    // The edits until EndUndoStep are one step named `label`, tied by a
    // nonzero `group` to the steps of other documents changed by the same
    // action (a replace in the whole project).
    void BeginUndoStep(std::string label, std::uint64_t group = 0)
    {
        history_.EndStep();
        history_.BeginStep(std::move(label), group);
    }

    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::uint64_t UndoGroup() const { return history_.UndoGroup(); }
    std::uint64_t RedoGroup() const { return history_.RedoGroup(); }
    std::string UndoLabel() const { return history_.UndoLabel(); }
    std::string RedoLabel() const { return history_.RedoLabel(); }
    // The history is forgotten (the text was replaced as a whole: another
    // encoding, a reload).
    void ClearHistory();
    // The last step backwards (forwards): the edits as they were applied,
    // empty when there was none.
    std::vector<TextEdit> Undo();
    std::vector<TextEdit> Redo();

    void AddObserver(DocumentObserver *observer);
    void RemoveObserver(DocumentObserver *observer);

private:
    void Changed(const TextEdit &edit);
    // `edits`, already applied to the text, moved the ranges: they go back
    // to the places last saved in `from`, and `now` is saved in `to`.
    std::vector<TextEdit> Replay(std::vector<TextEdit> edits, std::vector<MovingRanges::Places> &from,
                                 std::vector<MovingRanges::Places> &to, MovingRanges::Places now);

    std::filesystem::path file_;
    std::string text_;
    std::string savedText_;
    std::optional<std::string> savedBytes_;  // the file's bytes when last read or written
    TextEncoding encoding_ = TextEncoding::Gbk;
    LineEnds lineEnds_ = LineEnds::CrLf;
    std::uint64_t revision_ = 0;
    EditHistory history_;
    MovingRanges ranges_;
    // The ranges' places before each undo step and after each redo step.
    std::vector<MovingRanges::Places> placesBefore_;
    std::vector<MovingRanges::Places> placesAfter_;
    std::vector<DocumentObserver *> observers_;
};

}  // namespace qasp
