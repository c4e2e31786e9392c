// The editor adapter: the only code that knows both the node texts (bytes in
// their file's encoding, GBK or UTF-8) and the Qt editor widget. It writes
// pieces at its own caret, decoding each piece losslessly (see
// text/text_encoding.h); the page highlighter colours them.
#pragma once

#include "editor/editor_surface.h"

#include <QMetaObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QTextBlock;

namespace qasp {
class KeywordStore;
}

namespace qasp::app {

class PageHighlighter;

class QtEditorSurface : public EditorSurface {
public:
    explicit QtEditorSurface(QPlainTextEdit *edit);
    ~QtEditorSurface() override;
    QtEditorSurface(const QtEditorSurface &) = delete;
    QtEditorSurface &operator=(const QtEditorSurface &) = delete;

    void Clear() override;
    bool IsEmpty() const override;
    bool HasLine(int index) const override;
    void EmptyLine(int index) override;
    void MoveCaretToEnd() override;
    void Write(std::string_view piece, ColourValue colour) override;
    // A whole text in one insertion, as a step the user cannot undo into;
    // the visible caret goes to the start. The pieces' colours are not
    // kept: the highlighter colours the lines.
    void WriteRuns(const std::vector<ColourRun> &runs) override;

    std::string Text() const override;
    std::string LineText(int row) const override;
    bool IsLive() const override;
    void SetLive(bool live) override;
    void SetReadOnly(bool readOnly) override;
    size_t SelectionStart() const override;
    size_t SelectionLength() const override;
    size_t CaretOffset() const override;
    std::string SelectedText() const override;
    void SetSelection(size_t start, size_t length) override;
    void ReplaceSelection(std::string_view text) override;
    int LineFromChar(size_t offset) const override;
    size_t LineIndex(int row) const override;
    void SetInsertionColour(ColourValue colour) override;
    void SetEncoding(TextEncoding encoding) override;
    std::optional<ChangedLines> TakeChangedLines() override;
    std::string TakeUnencodable() override;

    // Once attached, the highlighter colours every line as it changes and
    // texts are written plainly; before that nothing is coloured.
    void AttachHighlighter(std::function<const KeywordStore *()> store);
    PageHighlighter *Highlighter() const { return highlighter_; }
    bool ColoursItself() const override { return highlighter_ != nullptr; }
    void SetStartsInCode(bool code) override;
    void KeywordsChanged() override;
    // The lines holding a changed name are coloured again: those on screen
    // at once, the others a slice at a time while the window is idle, so a
    // name declared in a long page never holds up the keyboard.
    void NamesChanged(const std::vector<std::string> &names) override;
    std::optional<PageState> LineStartState(int row) const override;
    // Whether lines holding changed names are still waiting for colour.
    bool IsRecolouring() const { return !recolourNames_.empty(); }

    // Editor positions and node byte offsets, one into the other.
    size_t ByteOffsetOf(int position) const;
    int PositionOfByteOffset(size_t offset) const;

    QPlainTextEdit *Widget() const { return edit_; }

private:
    // A line's node bytes, kept with its block until the line changes: the
    // handlers ask for offsets and lines on every keystroke.
    const std::string &BlockBytes(const QTextBlock &block) const;
    // Remembers the characters of `text` that the encoding cannot hold.
    void NoteUnencodable(const QString &text) const;

    // Keeps the line sizes and the changed range up to date: only the
    // blocks the change touched are measured again.
    void OnContentsChange(int position, int removed, int added);
    // Colours again the blocks from `first` up to `last` (or the end) that
    // hold a changed name; returns the block it stopped before.
    QTextBlock RecolourNamedBlocks(QTextBlock first, const QTextBlock &last, int budgetMs);
    void RecolourSlice();
    // The line sizes measured again from every block.
    void MeasureAllLines() const;
    // Where line `row` starts in node bytes (the break counts two); the
    // starts are summed lazily from the first line a change touched.
    size_t LineStart(int row) const;
    // The line holding byte `offset`, its break included; the last line for
    // any offset past the end.
    int RowOfByte(size_t offset) const;

    QPlainTextEdit *edit_;
    QMetaObject::Connection contentsChange_;
    QTextCursor cursor_;
    PageHighlighter *highlighter_ = nullptr;  // owned by the document
    bool live_ = false;
    TextEncoding encoding_ = TextEncoding::Gbk;

    // Each block's node bytes without its break, in block order, and their
    // total with the breaks; measured again when `linesKnown_` is off.
    mutable std::vector<size_t> lineBytes_;
    mutable std::vector<size_t> lineStarts_;  // valid below `startsKnown_`
    mutable size_t startsKnown_ = 0;
    mutable size_t totalBytes_ = 0;
    mutable bool linesKnown_ = false;
    // The characters changed since TakeChangedLines last reported, in
    // today's positions (none while `changedFrom_` is negative), and the
    // size of the text then. Off `changesKnown_`, the next report is none.
    int changedFrom_ = -1;
    int changedTo_ = 0;
    size_t reportedBytes_ = 0;
    mutable bool changesKnown_ = false;
    // Characters of changed lines that the encoding cannot hold.
    mutable QString unencodable_;
    bool recolouring_ = false;  // the highlighter colours lines again, formats only

    // Names whose uses wait for colour, and the block the idle sweep is at.
    std::vector<QString> recolourNames_;
    int recolourRow_ = 0;
    QTimer recolourTimer_;
};

// Tab stops every `characters` average characters of the editor's font
// (two by default); kept with the editor, so that a new font (zoom, the
// options) takes them along through RefreshTabStops.
void SetTabStops(QPlainTextEdit *edit, int characters);
void RefreshTabStops(QPlainTextEdit *edit);

}  // namespace qasp::app
