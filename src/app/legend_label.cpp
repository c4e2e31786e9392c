#include "app/legend_label.h"

#include "skin/data/readable_colour.h"

#include <QEvent>

namespace qasp::app {

LegendLabel::LegendLabel(const QString &caption, const QColor &colour, QWidget *parent)
    : QLabel(caption, parent),
      colour_(colour)
{
    setAlignment(Qt::AlignCenter);
    // Bold: the strokes of thin coloured glyphs come out much lighter than
    // their colour.
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    fitColour();
}

void LegendLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // The window's palette changes with the skin; the label's own colour
    // change comes back here too and then finds nothing to do.
    if (event->type() == QEvent::PaletteChange)
        fitColour();
}

void LegendLabel::setCategoryColour(const QColor &colour)
{
    colour_ = colour;
    fitColour();
}

void LegendLabel::fitColour()
{
    const QWidget *under = parentWidget();
    const QColor background = (under ? under : this)->palette().color(QPalette::Window);
    const QColor text = skin::ReadableOn(colour_, background, 5.0);
    if (palette().color(QPalette::WindowText) == text && testAttribute(Qt::WA_SetPalette))
        return;
    QPalette p;  // only the text colour is the label's own
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
}

}  // namespace qasp::app
