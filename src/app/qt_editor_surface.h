// The editor adapter: the only code that knows both the node texts (bytes in
// their file's encoding, GBK or UTF-8) and the Qt editor widget. It writes
// coloured pieces at its own caret, decoding each piece losslessly (see
// text/text_encoding.h).
#pragma once

#include "editor/editor_surface.h"

#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <string>

class QPlainTextEdit;
class QTextBlock;

namespace qasp {
class KeywordStore;
}

namespace qasp::app {

class QtEditorSurface : public EditorSurface {
public:
    explicit QtEditorSurface(QPlainTextEdit *edit);

    void Clear() override;
    bool IsEmpty() const override;
    bool HasLine(int index) const override;
    void EmptyLine(int index) override;
    void MoveCaretToEnd() override;
    void Write(std::string_view piece, ColourValue colour) override;
    // A whole text in one insertion per change of colour (an insertion costs
    // about a microsecond, whatever its length), as a step the user cannot
    // undo into; the visible caret goes to the start.
    void WriteRuns(const std::vector<ColourRun> &runs) override;

    std::string Text() const override;
    std::string LineText(int row) const override;
    bool IsLive() const override;
    void SetLive(bool live) override;
    size_t SelectionStart() const override;
    size_t SelectionLength() const override;
    std::string SelectedText() const override;
    void SetSelection(size_t start, size_t length) override;
    void ReplaceSelection(std::string_view text) override;
    int LineFromChar(size_t offset) const override;
    size_t LineIndex(int row) const override;
    void SetInsertionColour(ColourValue colour) override;
    void SetEncoding(TextEncoding encoding) override;

    // Editor positions and node byte offsets, one into the other.
    size_t ByteOffsetOf(int position) const;
    int PositionOfByteOffset(size_t offset) const;

    QPlainTextEdit *Widget() const { return edit_; }

private:
    const QTextCharFormat &FormatFor(ColourValue colour);
    // A line's node bytes, kept with its block until the line changes: the
    // handlers ask for offsets and lines on every keystroke.
    const std::string &BlockBytes(const QTextBlock &block) const;

    QPlainTextEdit *edit_;
    QTextCursor cursor_;
    std::array<std::pair<ColourValue, QTextCharFormat>, 8> formats_{};
    size_t formatCount_ = 0;
    bool live_ = false;
    TextEncoding encoding_ = TextEncoding::Gbk;
};

// Tab stops every 80 / (5 * width) dialog units, a dialog unit being a
// quarter of the average character width: width 2 puts them every two
// average characters.
void SetTabStops(QPlainTextEdit *edit, int width);

}  // namespace qasp::app
