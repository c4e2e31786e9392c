// One caption of the colour legend, shown in its category's colour. On a
// background where that colour would be hard to read (a dark skin), the
// colour is moved towards white or black until it reaches 7:1: the thin
// strokes of small coloured glyphs come out lighter than their colour, and
// on screen they still have to reach 4.5:1.
#pragma once

#include <QColor>
#include <QLabel>

namespace qasp::app {

class LegendLabel : public QLabel {
    Q_OBJECT
public:
    LegendLabel(const QString &caption, const QColor &colour, QWidget *parent);

    const QColor &categoryColour() const { return colour_; }
    // The category's colour in another scheme (the editor's turned dark).
    void setCategoryColour(const QColor &colour);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitColour();

    QColor colour_;
};

}  // namespace qasp::app
