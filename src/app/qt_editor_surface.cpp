#include "app/qt_editor_surface.h"

#include "editor/colouring.h"
#include "app/encoded_qstring.h"
#include "app/page_highlighter.h"
#include "text/gbk_codec.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace qasp::app {

namespace {

struct EncodedLine : QTextBlockUserData {
    std::string bytes;
};

}  // namespace

QtEditorSurface::QtEditorSurface(QPlainTextEdit *edit) : edit_(edit), cursor_(edit->document())
{
    // The document keeps no undo stack of its own: the program's writes
    // (colouring, a node loaded) would land on it between the user's edits.
    // The node's history undoes the user's actions.
    edit->document()->setUndoRedoEnabled(false);
    // The lines an edit touched lose their cached bytes; all others keep them.
    QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                     [doc = edit->document()](int position, int, int added) {
                         for (QTextBlock b = doc->findBlock(position);
                              b.isValid() && b.position() <= position + added; b = b.next())
                             b.setUserData(nullptr);
                     });
}

const std::string &QtEditorSurface::BlockBytes(const QTextBlock &block) const
{
    auto *line = static_cast<EncodedLine *>(block.userData());
    if (!line) {
        line = new EncodedLine;
        line->bytes = ToBytes(block.text(), encoding_);
        QTextBlock(block).setUserData(line);
    }
    return line->bytes;
}

void QtEditorSurface::Clear()
{
    edit_->document()->clear();
    cursor_ = QTextCursor(edit_->document());
}

bool QtEditorSurface::IsEmpty() const
{
    return edit_->document()->isEmpty();
}

bool QtEditorSurface::HasLine(int index) const
{
    return index >= 0 && index < edit_->document()->blockCount();
}

void QtEditorSurface::EmptyLine(int index)
{
    const QTextBlock block = edit_->document()->findBlockByNumber(index);
    cursor_.setPosition(block.position());
    cursor_.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor_.removeSelectedText();
}

void QtEditorSurface::MoveCaretToEnd()
{
    cursor_.movePosition(QTextCursor::End);
}

void QtEditorSurface::Write(std::string_view piece, ColourValue /*colour*/)
{
    if (piece == "\r\n") {
        cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
        return;
    }
    cursor_.insertText(FromBytes(piece, encoding_), QTextCharFormat());
}

std::string QtEditorSurface::Text() const
{
    std::string out;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next()) {
        if (b != edit_->document()->begin())
            out += "\r\n";
        out += BlockBytes(b);
    }
    return out;
}

void QtEditorSurface::WriteRuns(const std::vector<ColourRun> &runs)
{
    QTextDocument *doc = edit_->document();
    std::string bytes;
    for (const ColourRun &run : runs)
        bytes += run.text;
    QString s = FromBytes(bytes, encoding_);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));  // '\n' starts a new block
    cursor_.beginEditBlock();
    cursor_.insertText(s, QTextCharFormat());
    cursor_.endEditBlock();
    edit_->setTextCursor(QTextCursor(doc));
}

std::string QtEditorSurface::LineText(int row) const
{
    const QTextBlock block = edit_->document()->findBlockByNumber(row);
    return block.isValid() ? BlockBytes(block) : std::string();
}

bool QtEditorSurface::IsLive() const
{
    return live_;
}

void QtEditorSurface::SetLive(bool live)
{
    live_ = live;
}

namespace {

size_t EncodedLength(TextEncoding encoding, const QString &text, int from, int to)
{
    size_t n = 0;
    for (int i = from; i < to; ++i)
        n += qasp::EncodedLength(encoding, text.at(i).unicode());
    return n;
}

}  // namespace

size_t QtEditorSurface::ByteOffsetOf(int position) const
{
    const QTextDocument *doc = edit_->document();
    const QTextBlock target = doc->findBlock(position);
    size_t offset = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && b != target; b = b.next())
        offset += BlockBytes(b).size() + 2;
    return offset + EncodedLength(encoding_, target.text(), 0, position - target.position());
}

int QtEditorSurface::PositionOfByteOffset(size_t offset) const
{
    size_t remaining = offset;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next()) {
        const size_t lineBytes = BlockBytes(b).size();
        if (remaining >= lineBytes + 2 && b.next().isValid()) {  // not this line
            remaining -= lineBytes + 2;
            continue;
        }
        const QString text = b.text();
        for (int i = 0; i < text.size(); ++i) {
            const size_t length = qasp::EncodedLength(encoding_, text.at(i).unicode());
            if (remaining < length)  // at this character, or inside it: its start
                return b.position() + i;
            remaining -= length;
        }
        if (remaining < 2 || !b.next().isValid())  // the end of this line
            return b.position() + static_cast<int>(text.size());
        remaining -= 2;  // the line break
    }
    return 0;
}

size_t QtEditorSurface::SelectionStart() const
{
    return ByteOffsetOf(edit_->textCursor().selectionStart());
}

size_t QtEditorSurface::SelectionLength() const
{
    const QTextCursor c = edit_->textCursor();
    return ByteOffsetOf(c.selectionEnd()) - ByteOffsetOf(c.selectionStart());
}

std::string QtEditorSurface::SelectedText() const
{
    QString text = edit_->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return ToBytes(text, encoding_);
}

void QtEditorSurface::SetSelection(size_t start, size_t length)
{
    QTextCursor c = edit_->textCursor();
    c.setPosition(PositionOfByteOffset(start));
    c.setPosition(PositionOfByteOffset(start + length), QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
}

void QtEditorSurface::ReplaceSelection(std::string_view text)
{
    QString s = FromBytes(text, encoding_);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit_->textCursor().insertText(s);
}

int QtEditorSurface::LineFromChar(size_t offset) const
{
    size_t start = 0;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next()) {
        const size_t end = start + BlockBytes(b).size();
        if (offset <= end + 1 || !b.next().isValid())  // the break belongs to its line
            return b.blockNumber();
        start = end + 2;
    }
    return 0;
}

size_t QtEditorSurface::LineIndex(int row) const
{
    size_t offset = 0;
    const QTextBlock target = edit_->document()->findBlockByNumber(row);
    for (QTextBlock b = edit_->document()->begin(); b.isValid() && b != target; b = b.next())
        offset += BlockBytes(b).size() + 2;
    return offset;
}

void QtEditorSurface::SetInsertionColour(ColourValue /*colour*/)
{
    // Typed text is coloured by the highlighter, in its context.
}

void QtEditorSurface::AttachHighlighter(std::function<const KeywordStore *()> store)
{
    highlighter_ = new PageHighlighter(edit_, std::move(store));
    highlighter_->SetEncoding(encoding_);
}

void QtEditorSurface::SetStartsInCode(bool code)
{
    if (highlighter_)
        highlighter_->SetStartsInCode(code);
}

void QtEditorSurface::KeywordsChanged()
{
    if (highlighter_)
        highlighter_->rehighlight();
}

void QtEditorSurface::SetEncoding(TextEncoding encoding)
{
    if (encoding == encoding_)
        return;
    encoding_ = encoding;
    if (highlighter_)
        highlighter_->SetEncoding(encoding);
    // The cached bytes of every line were made in the other encoding.
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next())
        b.setUserData(nullptr);
}

void SetTabStops(QPlainTextEdit *edit, int characters)
{
    edit->setProperty("tabCharacters", characters);
    RefreshTabStops(edit);
}

void RefreshTabStops(QPlainTextEdit *edit)
{
    const QVariant stored = edit->property("tabCharacters");
    const int characters = stored.isValid() ? stored.toInt() : 2;
    edit->setTabStopDistance(characters * QFontMetricsF(edit->font()).averageCharWidth());
}

}  // namespace qasp::app
