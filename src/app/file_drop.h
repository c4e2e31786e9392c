// Dropping a page on the window opens it as the project's root page.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMimeData;

namespace qasp::app {

// The local page a drop carries: one .asp (or .asa, .inc, .htm) file,
// otherwise empty.
QString DroppedPage(const QMimeData *mime);

// Watches the widgets of one window (installed on the application) and
// opens a dropped page; other drops go on to the widget below.
class FileDrop : public QObject {
public:
    FileDrop(QWidget *window, std::function<void(const QString &)> open);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    std::function<void(const QString &)> open_;
};

}  // namespace qasp::app
