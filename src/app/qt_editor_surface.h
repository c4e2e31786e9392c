// The editor adapter: the only code that knows both the node texts (bytes in
// their file's encoding, GBK or UTF-8) and the Qt editor widget. It writes
// pieces at its own caret, decoding each piece losslessly (see
// text/text_encoding.h); the page highlighter colours them.
#pragma once

#include "editor/editor_surface.h"

#include <QTextCharFormat>
#include <QTextCursor>

#include <functional>
#include <string>

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
    size_t SelectionStart() const override;
    size_t SelectionLength() const override;
    std::string SelectedText() const override;
    void SetSelection(size_t start, size_t length) override;
    void ReplaceSelection(std::string_view text) override;
    int LineFromChar(size_t offset) const override;
    size_t LineIndex(int row) const override;
    void SetInsertionColour(ColourValue colour) override;
    void SetEncoding(TextEncoding encoding) override;

    // Once attached, the highlighter colours every line as it changes and
    // texts are written plainly; before that nothing is coloured.
    void AttachHighlighter(std::function<const KeywordStore *()> store);
    PageHighlighter *Highlighter() const { return highlighter_; }
    bool ColoursItself() const override { return highlighter_ != nullptr; }
    void SetStartsInCode(bool code) override;
    void KeywordsChanged() override;

    // Editor positions and node byte offsets, one into the other.
    size_t ByteOffsetOf(int position) const;
    int PositionOfByteOffset(size_t offset) const;

    QPlainTextEdit *Widget() const { return edit_; }

private:
    // A line's node bytes, kept with its block until the line changes: the
    // handlers ask for offsets and lines on every keystroke.
    const std::string &BlockBytes(const QTextBlock &block) const;

    QPlainTextEdit *edit_;
    QTextCursor cursor_;
    PageHighlighter *highlighter_ = nullptr;  // owned by the document
    bool live_ = false;
    TextEncoding encoding_ = TextEncoding::Gbk;
};

// Tab stops every `characters` average characters of the editor's font
// (two by default); kept with the editor, so that a new font (zoom, the
// options) takes them along through RefreshTabStops.
void SetTabStops(QPlainTextEdit *edit, int characters);
void RefreshTabStops(QPlainTextEdit *edit);

}  // namespace qasp::app
