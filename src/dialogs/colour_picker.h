// The screen colour picker: every tick the pixel under the pointer becomes
// the picker panel's colour, its complement the font colour, and "#RRGGBB"
// its caption.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>

class QLabel;
class QTimer;

namespace qasp::dialogs {

// "#RRGGBB" in upper-case hexadecimal.
QString ColourCode(const QColor &c);
QColor Complement(const QColor &c);

class ColourPicker : public QObject {
    Q_OBJECT
public:
    ColourPicker(QTimer *timer, QLabel *swatch, QObject *parent = nullptr);

    // Shows one reading on the swatch.
    void showColour(const QColor &c);
    // One tick: the pixel under the pointer, wherever it is on the screen.
    void pickColourUnderPointer();

signals:
    // Once, when the platform hands out no screen pixels.
    void unavailable(const QString &message);

private:
    QTimer *timer_;
    QLabel *swatch_;
    bool reported_ = false;
};

}  // namespace qasp::dialogs
