#include "app/qt_editor_surface.h"

#include "editor/colouring.h"
#include "app/encoded_qstring.h"
#include "app/page_highlighter.h"
#include "text/gbk_codec.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QScopedValueRollback>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace qasp::app {

namespace {

struct EncodedLine : QTextBlockUserData {
    std::string bytes;
};

}  // namespace

QtEditorSurface::QtEditorSurface(QPlainTextEdit *edit) : edit_(edit), cursor_(edit->document())
{
    edit->setReadOnly(true);  // until a node is shown
    // The document keeps no undo stack of its own: the program's writes
    // (colouring, a node loaded) would land on it between the user's edits.
    // The node's history undoes the user's actions.
    edit->document()->setUndoRedoEnabled(false);
    contentsChange_ = QObject::connect(
        edit->document(), &QTextDocument::contentsChange, edit,
        [this](int position, int removed, int added) { OnContentsChange(position, removed, added); });
    recolourTimer_.setSingleShot(true);
    recolourTimer_.setInterval(0);
    QObject::connect(&recolourTimer_, &QTimer::timeout, edit, [this] { RecolourSlice(); });
}

QtEditorSurface::~QtEditorSurface()
{
    QObject::disconnect(contentsChange_);
}

void QtEditorSurface::OnContentsChange(int position, int removed, int added)
{
    if (recolouring_)  // formats only: no line's text changes
        return;
    QTextDocument *doc = edit_->document();
    const QTextBlock first = doc->findBlock(position);
    if (!first.isValid()) {
        linesKnown_ = false;
        changesKnown_ = false;
        return;
    }
    // The highlighter's formats mark a line changed as well: a line whose
    // text is still what it was changed nothing the node holds.
    if (removed == added && position + added <= first.position() + first.length()) {
        const auto *line = static_cast<const EncodedLine *>(first.userData());
        if (line && line->bytes == ToBytes(first.text(), encoding_))
            return;
    }

    // The lines the edit touched lose their cached bytes and are measured
    // again; all others keep both.
    std::vector<size_t> fresh;
    for (QTextBlock b = first; b.isValid() && b.position() <= position + added; b = b.next()) {
        b.setUserData(nullptr);
        if (linesKnown_)
            fresh.push_back(BlockBytes(b).size());
    }
    if (linesKnown_) {
        // Blocks after the touched ones are the old ones, renumbered.
        const auto row = static_cast<size_t>(first.blockNumber());
        const auto count = static_cast<size_t>(doc->blockCount());
        const size_t replaced = fresh.size() + lineBytes_.size() - count;
        if (fresh.size() + lineBytes_.size() < count + 1 || row + replaced > lineBytes_.size()) {
            linesKnown_ = false;
        } else {
            for (size_t i = row; i < row + replaced; ++i)
                totalBytes_ -= lineBytes_[i] + 2;
            for (size_t bytes : fresh)
                totalBytes_ += bytes + 2;
            const auto at = lineBytes_.begin() + static_cast<std::ptrdiff_t>(row);
            if (replaced == fresh.size()) {
                std::copy(fresh.begin(), fresh.end(), at);
            } else {
                lineBytes_.erase(at, at + static_cast<std::ptrdiff_t>(replaced));
                lineBytes_.insert(lineBytes_.begin() + static_cast<std::ptrdiff_t>(row), fresh.begin(),
                                  fresh.end());
            }
            lineStarts_.resize(count);
            startsKnown_ = std::min(startsKnown_, row + 1);
        }
    }

    // The changed range grows to hold this change, in today's positions.
    if (changedFrom_ < 0) {
        changedFrom_ = position;
        changedTo_ = position + added;
    } else {
        const int to = changedTo_ <= position             ? changedTo_
                       : changedTo_ >= position + removed ? changedTo_ - removed + added
                                                          : position + added;
        changedFrom_ = std::min(changedFrom_, position);
        changedTo_ = std::max(to, position + added);
    }
}

void QtEditorSurface::MeasureAllLines() const
{
    lineBytes_.clear();
    totalBytes_ = 0;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next()) {
        lineBytes_.push_back(BlockBytes(b).size());
        totalBytes_ += lineBytes_.back() + 2;
    }
    totalBytes_ -= 2;  // no break after the last line
    lineStarts_.assign(lineBytes_.size(), 0);
    startsKnown_ = 1;
    linesKnown_ = true;
    // The sizes went out of step with the document, or were never taken:
    // what changed since the last report is not known either.
    changesKnown_ = false;
}

size_t QtEditorSurface::LineStart(int row) const
{
    if (!linesKnown_ || lineBytes_.size() != static_cast<size_t>(edit_->document()->blockCount()))
        MeasureAllLines();
    const auto target = static_cast<size_t>(row);
    for (; startsKnown_ <= target; ++startsKnown_)
        lineStarts_[startsKnown_] = lineStarts_[startsKnown_ - 1] + lineBytes_[startsKnown_ - 1] + 2;
    return lineStarts_[target];
}

int QtEditorSurface::RowOfByte(size_t offset) const
{
    LineStart(0);  // measured
    const size_t count = lineBytes_.size();
    // Where the line after row i starts: offsets below it are row i's.
    const auto next = [this](size_t i) { return lineStarts_[i] + lineBytes_[i] + 2; };
    while (startsKnown_ < count && next(startsKnown_ - 1) <= offset) {
        lineStarts_[startsKnown_] = next(startsKnown_ - 1);
        ++startsKnown_;
    }
    size_t low = 0, high = startsKnown_;
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (next(mid) <= offset)
            low = mid + 1;
        else
            high = mid;
    }
    return static_cast<int>(std::min(low, count - 1));
}

const std::string &QtEditorSurface::BlockBytes(const QTextBlock &block) const
{
    auto *line = static_cast<EncodedLine *>(block.userData());
    if (!line) {
        line = new EncodedLine;
        bool lossy = false;
        const QString text = block.text();
        line->bytes = ToBytes(text, encoding_, &lossy);
        if (lossy)
            NoteUnencodable(text);
        QTextBlock(block).setUserData(line);
    }
    return line->bytes;
}

void QtEditorSurface::Clear()
{
    recolourNames_.clear();  // the next text is coloured whole
    recolourTimer_.stop();
    edit_->document()->clear();
    cursor_ = QTextCursor(edit_->document());
    linesKnown_ = false;
    changesKnown_ = false;
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

void QtEditorSurface::SetReadOnly(bool readOnly)
{
    edit_->setReadOnly(readOnly);
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
    const QTextBlock target = edit_->document()->findBlock(position);
    if (!target.isValid())  // past the end: the whole text
        return LineIndex(edit_->document()->blockCount()) - 2;
    return LineStart(target.blockNumber())
           + EncodedLength(encoding_, target.text(), 0, position - target.position());
}

int QtEditorSurface::PositionOfByteOffset(size_t offset) const
{
    const int row = RowOfByte(offset);
    const QTextBlock b = edit_->document()->findBlockByNumber(row);
    size_t remaining = offset - LineStart(row);
    const QString text = b.text();
    for (int i = 0; i < text.size(); ++i) {
        const size_t length = qasp::EncodedLength(encoding_, text.at(i).unicode());
        if (remaining < length)  // at this character, or inside it: its start
            return b.position() + i;
        remaining -= length;
    }
    return b.position() + static_cast<int>(text.size());  // the end of the line, or its break
}

size_t QtEditorSurface::SelectionStart() const
{
    return ByteOffsetOf(edit_->textCursor().selectionStart());
}

size_t QtEditorSurface::CaretOffset() const
{
    return ByteOffsetOf(edit_->textCursor().position());
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
    return RowOfByte(offset);  // the break belongs to its line
}

size_t QtEditorSurface::LineIndex(int row) const
{
    LineStart(0);                                                  // measured
    if (row < 0 || static_cast<size_t>(row) >= lineBytes_.size())  // no such line: past the whole text
        return totalBytes_ + 2;
    return LineStart(row);
}

void QtEditorSurface::NoteUnencodable(const QString &text) const
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        bool lossy = false;
        ToBytes(character, encoding_, &lossy);
        if (lossy && !unencodable_.contains(character))
            unencodable_ += character;
        i += length;
    }
}

std::string QtEditorSurface::TakeUnencodable()
{
    std::string characters = unencodable_.toStdString();
    unencodable_.clear();
    return characters;
}

std::optional<ChangedLines> QtEditorSurface::TakeChangedLines()
{
    QTextDocument *doc = edit_->document();
    LineStart(0);  // measured; a measure from scratch forgets the changes
    const bool known = changesKnown_;
    const int from = changedFrom_;
    const int to = changedTo_;
    ChangedLines lines{reportedBytes_, totalBytes_, 0, {}};
    changesKnown_ = true;
    changedFrom_ = -1;
    reportedBytes_ = totalBytes_;
    if (!known)
        return std::nullopt;
    if (from < 0)
        return lines;
    // Whole lines, from the first one touched to the last.
    const int lastPosition = doc->characterCount() - 1;
    const QTextBlock first = doc->findBlock(std::clamp(from, 0, lastPosition));
    const QTextBlock last = doc->findBlock(std::clamp(to, 0, lastPosition));
    lines.head = LineStart(first.blockNumber());
    for (QTextBlock b = first;; b = b.next()) {
        lines.bytes += BlockBytes(b);
        if (b == last || !b.isValid())
            break;
        lines.bytes += "\r\n";
    }
    lines.tail =
        totalBytes_ - (LineStart(last.blockNumber()) + lineBytes_[static_cast<size_t>(last.blockNumber())]);
    return lines;
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
    if (!highlighter_)
        return;
    recolourNames_.clear();
    recolourTimer_.stop();
    const QScopedValueRollback<bool> recolouring(recolouring_, true);
    highlighter_->rehighlight();
}

void QtEditorSurface::NamesChanged(const std::vector<std::string> &names)
{
    if (!highlighter_ || names.empty())
        return;
    for (const std::string &name : names) {
        const QString word = FromBytes(name, TextEncoding::Gbk);  // the store's code page
        if (std::find(recolourNames_.begin(), recolourNames_.end(), word) == recolourNames_.end())
            recolourNames_.push_back(word);
    }
    const QTextBlock top = edit_->cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock bottom = edit_->cursorForPosition(QPoint(0, edit_->viewport()->height())).block();
    RecolourNamedBlocks(top, bottom.next(), -1);
    // Every line again from the top: a sweep under way has passed lines
    // that may hold the new names.
    recolourRow_ = 0;
    recolourTimer_.start();
}

QTextBlock QtEditorSurface::RecolourNamedBlocks(QTextBlock first, const QTextBlock &last, int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    const QScopedValueRollback<bool> recolouring(recolouring_, true);
    int checked = 0;
    for (; first.isValid() && first != last; first = first.next()) {
        // The clock is read every few lines: reading it costs more than
        // checking a line that holds none of the names.
        if (budgetMs >= 0 && ++checked % 256 == 0 && clock.elapsed() >= budgetMs)
            break;
        const QString text = first.text();
        if (std::any_of(recolourNames_.begin(), recolourNames_.end(),
                        [&](const QString &name) { return text.contains(name, Qt::CaseInsensitive); }))
            highlighter_->rehighlightBlock(first);
    }
    return first;
}

void QtEditorSurface::RecolourSlice()
{
    if (recolourNames_.empty() || !highlighter_)
        return;
    // A few milliseconds at a time, so keys and paints come between slices.
    constexpr int kSliceMs = 4;
    const QTextBlock next =
        RecolourNamedBlocks(edit_->document()->findBlockByNumber(recolourRow_), QTextBlock(), kSliceMs);
    if (!next.isValid()) {
        recolourNames_.clear();
        return;
    }
    recolourRow_ = next.blockNumber();
    recolourTimer_.start();
}

std::optional<PageState> QtEditorSurface::LineStartState(int row) const
{
    if (!highlighter_)
        return std::nullopt;
    return highlighter_->StartStateOf(edit_->document()->findBlockByNumber(row));
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
    linesKnown_ = false;
    changesKnown_ = false;
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
