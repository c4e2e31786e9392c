// The editor adapter: the only code that knows both the node texts (code page
// 936 bytes) and the Qt editor widget. It writes coloured pieces at its own
// caret, decoding each piece losslessly (see text/gbk_codec.h).
#pragma once

#include "editor/colour_editor.h"

#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <string>

class QPlainTextEdit;

namespace qasp {
class KeywordStore;
}

namespace qasp::app {

class MemoEditor : public ColourEditor {
public:
    explicit MemoEditor(QPlainTextEdit *edit);

    void Clear() override;
    bool IsEmpty() const override;
    bool HasLine(int index) const override;
    void EmptyLine(int index) override;
    void MoveCaretToEnd() override;
    void Write(std::string_view piece, ColourValue colour) override;

    // The whole text as node bytes, lines joined by CR LF.
    std::string Text() const;

    // Replaces the content by the coloured text as one step the user cannot
    // undo into, and leaves the caret at the start.
    void ShowColouredText(std::string_view text, const KeywordStore &store);

    QPlainTextEdit *Widget() const { return edit_; }

private:
    const QTextCharFormat &FormatFor(ColourValue colour);

    QPlainTextEdit *edit_;
    QTextCursor cursor_;
    std::array<std::pair<ColourValue, QTextCharFormat>, 8> formats_{};
    size_t formatCount_ = 0;
};

// Tab stops every 80 / (5 * width) dialog units, a dialog unit being a
// quarter of the average character width: width 2 puts them every two
// average characters.
void SetTabStops(QPlainTextEdit *edit, int width);

}  // namespace qasp::app
