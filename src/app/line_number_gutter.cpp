#include "app/line_number_gutter.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace qasp::app {

LineNumberGutter::LineNumberGutter(QPlainTextEdit *editor, QWidget *parent) : QWidget(parent), editor_(editor)
{
    setObjectName("lineNumberGutter");
    setFont(editor->font());
    // Scrolling, typing and a moved caret all repaint the editor's rows.
    connect(editor, &QPlainTextEdit::updateRequest, this, [this] { update(); });
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { update(); });
    connect(editor, &QPlainTextEdit::blockCountChanged, this, [this] { updateWidth(); });
    updateWidth();
}

void LineNumberGutter::setFirstLineNumber(int first)
{
    if (first == first_)
        return;
    first_ = first;
    updateWidth();
    update();
}

int LineNumberGutter::numberAt(int row) const
{
    return row < 0 ? 0 : first_ + row;
}

QSize LineNumberGutter::sizeHint() const
{
    const int highest = std::max(numberAt(editor_->blockCount() - 1), 999);
    const int digits = static_cast<int>(QString::number(highest).size());
    return {fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 10, 0};
}

void LineNumberGutter::updateWidth()
{
    const int width = sizeHint().width();
    if (width != this->width())
        setFixedWidth(width);
}

void LineNumberGutter::changeEvent(QEvent *event)
{
    // A skin changes the editor's palette after the gutter was made.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

void LineNumberGutter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The editor's own colours, a shade apart from its text area, so that a
    // dark skin gives a dark gutter.
    const QPalette palette = editor_->palette();
    const QColor base = palette.color(QPalette::Base);
    painter.fillRect(rect(), base.lightness() > 128 ? base.darker(108) : base.lighter(140));
    QColor dim = palette.color(QPalette::Text);
    const QColor current = dim;
    dim.setAlpha(150);

    // Rows are placed where the editor's viewport shows them.
    const QWidget *viewport = editor_->viewport();
    const int top = viewport->mapTo(window(), QPoint(0, 0)).y() - mapTo(window(), QPoint(0, 0)).y();
    painter.setClipRect(0, top, width(), viewport->height());
    const int caretRow = editor_->textCursor().blockNumber();
    painter.setFont(editor_->font());
    for (QTextBlock block = editor_->cursorForPosition(QPoint(0, 0)).block(); block.isValid();
         block = block.next()) {
        if (!block.isVisible())
            continue;
        const QRect row = editor_->cursorRect(QTextCursor(block));
        if (row.top() > viewport->height())
            break;
        const int number = block.blockNumber();
        painter.setPen(number == caretRow ? current : dim);
        painter.drawText(QRect(0, top + row.top(), width() - 5, row.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(numberAt(number)));
    }
}

}  // namespace qasp::app
