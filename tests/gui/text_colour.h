#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QTextBlock>

// The colour the editor shows at one character of one line.
inline QColor ColourAt(QPlainTextEdit *edit, int line, int column)
{
    const QTextBlock block = edit->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange &r : block.textFormats())
        if (column >= r.start && column < r.start + r.length)
            return r.format.foreground().color();
    return {};
}
