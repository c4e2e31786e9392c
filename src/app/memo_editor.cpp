#include "app/memo_editor.h"

#include "editor/colouring.h"
#include "text/gbk_codec.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace qasp::app {

MemoEditor::MemoEditor(QPlainTextEdit *edit)
    : edit_(edit)
    , cursor_(edit->document())
{
}

void MemoEditor::Clear()
{
    edit_->document()->clear();
    cursor_ = QTextCursor(edit_->document());
}

bool MemoEditor::IsEmpty() const
{
    return edit_->document()->isEmpty();
}

bool MemoEditor::HasLine(int index) const
{
    return index >= 0 && index < edit_->document()->blockCount();
}

void MemoEditor::EmptyLine(int index)
{
    const QTextBlock block = edit_->document()->findBlockByNumber(index);
    cursor_.setPosition(block.position());
    cursor_.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor_.removeSelectedText();
}

void MemoEditor::MoveCaretToEnd()
{
    cursor_.movePosition(QTextCursor::End);
}

const QTextCharFormat &MemoEditor::FormatFor(ColourValue colour)
{
    for (size_t i = 0; i < formatCount_; ++i)
        if (formats_[i].first == colour)
            return formats_[i].second;
    QTextCharFormat format;
    format.setForeground(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    if (formatCount_ == formats_.size())
        formatCount_ = 0;  // only seven colours exist; never grows in practice
    formats_[formatCount_] = {colour, format};
    return formats_[formatCount_++].second;
}

void MemoEditor::Write(std::string_view piece, ColourValue colour)
{
    if (piece == "\r\n") {
        cursor_.insertBlock(QTextBlockFormat(), FormatFor(colour));
        return;
    }
    const std::u16string text = DecodeGbk(piece);
    cursor_.insertText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())),
                       FormatFor(colour));
}

std::string MemoEditor::Text() const
{
    std::string out;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next()) {
        if (b != edit_->document()->begin())
            out += "\r\n";
        const QString line = b.text();
        out += EncodeGbk(std::u16string_view(reinterpret_cast<const char16_t *>(line.utf16()),
                                             static_cast<size_t>(line.size())));
    }
    return out;
}

void MemoEditor::ShowColouredText(std::string_view text, const KeywordStore &store)
{
    // The same content ColourText writes piece by piece, written in one
    // insertion per change of colour: each insertion into the document costs
    // about a microsecond, whatever its length.
    QTextDocument *doc = edit_->document();
    doc->setUndoRedoEnabled(false);
    Clear();
    cursor_.beginEditBlock();
    for (const ColourRun &run : ColourTextRuns(text, store)) {
        const std::u16string piece = DecodeGbk(run.text);
        QString s = QString::fromUtf16(piece.data(), static_cast<qsizetype>(piece.size()));
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));  // '\n' starts a new block
        cursor_.insertText(s, FormatFor(run.colour));
    }
    cursor_.endEditBlock();
    doc->setUndoRedoEnabled(true);
    QTextCursor start(doc);
    edit_->setTextCursor(start);
}

void SetTabStops(QPlainTextEdit *edit, int width)
{
    const double dialogUnit = QFontMetricsF(edit->font()).averageCharWidth() / 4.0;
    edit->setTabStopDistance(80.0 / (5 * width) * dialogUnit);
}

}  // namespace qasp::app
