#pragma once

#include "editor/colour_scheme.h"

#include <QColor>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

// The colour the editor shows at one character of one line: the
// highlighter's, over the text's own format.
inline QColor ColourAt(QPlainTextEdit *edit, int line, int column)
{
    const QTextBlock block = edit->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange &r : block.layout()->formats())
        if (column >= r.start && column < r.start + r.length
            && r.format.hasProperty(QTextFormat::ForegroundBrush))
            return r.format.foreground().color();
    for (const QTextLayout::FormatRange &r : block.textFormats())
        if (column >= r.start && column < r.start + r.length)
            return r.format.foreground().color();
    return {};
}

// The colour of a category on the editor's default (light) background.
inline QColor ShownColour(qasp::ColourCategory category)
{
    const qasp::ColourValue c = qasp::LightScheme().Of(category);
    return {qasp::RedOf(c), qasp::GreenOf(c), qasp::BlueOf(c)};
}
