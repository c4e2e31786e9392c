#include "app/memo_editor.h"

#include "editor/colouring.h"
#include "app/gbk_qstring.h"

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
    cursor_.insertText(FromGbk(piece), FormatFor(colour));
}

namespace {

std::string EncodeBlock(const QTextBlock &block)
{
    return ToGbk(block.text());
}

}  // namespace

std::string MemoEditor::Text() const
{
    std::string out;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next()) {
        if (b != edit_->document()->begin())
            out += "\r\n";
        out += EncodeBlock(b);
    }
    return out;
}

void MemoEditor::WriteRuns(const std::vector<ColourRun> &runs)
{
    QTextDocument *doc = edit_->document();
    doc->setUndoRedoEnabled(false);
    cursor_.beginEditBlock();
    for (const ColourRun &run : runs) {
        QString s = FromGbk(run.text);
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));  // '\n' starts a new block
        cursor_.insertText(s, FormatFor(run.colour));
    }
    cursor_.endEditBlock();
    doc->setUndoRedoEnabled(true);
    edit_->setTextCursor(QTextCursor(doc));
}

std::string MemoEditor::LineText(int row) const
{
    const QTextBlock block = edit_->document()->findBlockByNumber(row);
    return block.isValid() ? EncodeBlock(block) : std::string();
}

int MemoEditor::Tag() const
{
    return edit_->property("Tag").toInt();
}

void MemoEditor::SetTag(int tag)
{
    edit_->setProperty("Tag", tag);
}

void SetTabStops(QPlainTextEdit *edit, int width)
{
    const double dialogUnit = QFontMetricsF(edit->font()).averageCharWidth() / 4.0;
    edit->setTabStopDistance(80.0 / (5 * width) * dialogUnit);
}

}  // namespace qasp::app
