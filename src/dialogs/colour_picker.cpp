#include "dialogs/colour_picker.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace qasp::dialogs {

QString ColourCode(const QColor &c)
{
    return QString("#%1%2%3")
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QColor Complement(const QColor &c)
{
    return {255 - c.red(), 255 - c.green(), 255 - c.blue()};
}

ColourPicker::ColourPicker(QTimer *timer, QLabel *swatch, QObject *parent)
    : QObject(parent),
      timer_(timer),
      swatch_(swatch)
{
    connect(timer_, &QTimer::timeout, this, &ColourPicker::pickColourUnderPointer);
}

void ColourPicker::showColour(const QColor &c)
{
    QPalette p = swatch_->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::WindowText, Complement(c));
    swatch_->setPalette(p);
    swatch_->setText(ColourCode(c));
}

void ColourPicker::pickColourUnderPointer()
{
    const QPoint pos = QCursor::pos();
    QScreen *screen = QGuiApplication::screenAt(pos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QImage pixel =
        screen
            ? screen->grabWindow(0, pos.x() - screen->geometry().x(), pos.y() - screen->geometry().y(), 1, 1)
                  .toImage()
            : QImage();
    if (pixel.isNull() || pixel.width() < 1) {
        // Some window systems (Wayland sessions) hand out no screen pixels:
        // say so once rather than show a wrong colour.
        if (!reported_) {
            reported_ = true;
            emit unavailable("此桌面不允许读取屏幕颜色，无法取色");
        }
        return;
    }
    showColour(pixel.pixelColor(0, 0));
}

}  // namespace qasp::dialogs
