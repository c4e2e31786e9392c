#include "app/pair_marks.h"

#include "editor/block_match.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace qasp::app {
namespace {

// A block keyword's partner is looked for this many lines either way: the
// caret's moves stay quick on the largest pages.
constexpr int kReach = 3000;

const QColor kMarkColour(255, 230, 150);

}  // namespace

PairMarks::PairMarks(QPlainTextEdit *editor) : QObject(editor), editor_(editor)
{
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &PairMarks::update);
}

void PairMarks::update()
{
    QList<QTextEdit::ExtraSelection> marks = lasting_;
    const QTextCursor caret = editor_->textCursor();
    if (!caret.hasSelection()) {
        const QTextDocument *doc = editor_->document();
        const int row = caret.blockNumber();
        const QString before = caret.block().text().left(caret.positionInBlock());
        const size_t column = before.toUtf8().size();
        // UTF-8 keeps every ASCII byte in place and makes no ASCII byte out
        // of anything else; columns go back to characters below.
        std::vector<std::string> lines{caret.block().text().toStdString()};
        int first = row;
        // Most caret places touch no block keyword: the lines around are
        // read only for one.
        if (TouchesBlockKeyword(lines.front(), column)) {
            first = std::max(0, row - kReach);
            const int last = std::min(doc->blockCount() - 1, row + kReach);
            lines.clear();
            QTextBlock b = doc->findBlockByNumber(first);
            for (int r = first; r <= last && b.isValid(); ++r, b = b.next())
                lines.push_back(b.text().toStdString());
        }
        for (const TextSpan &span : MatchingPair(lines, row - first, column)) {
            const QTextBlock block = doc->findBlockByNumber(span.row + first);
            const QByteArray bytes = block.text().toUtf8();
            const int from =
                static_cast<int>(QString::fromUtf8(bytes.left(static_cast<qsizetype>(span.column))).size());
            const int length =
                static_cast<int>(QString::fromUtf8(bytes.mid(static_cast<qsizetype>(span.column),
                                                             static_cast<qsizetype>(span.length)))
                                     .size());
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(block);
            mark.cursor.setPosition(block.position() + from);
            mark.cursor.setPosition(block.position() + from + length, QTextCursor::KeepAnchor);
            mark.format.setBackground(kMarkColour);
            marks.push_back(mark);
        }
    }
    editor_->setExtraSelections(marks);
}

void PairMarks::setLastingMarks(QList<QTextEdit::ExtraSelection> marks)
{
    lasting_ = std::move(marks);
    update();
}

}  // namespace qasp::app
