#include "app/file_drop.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace qasp::app {

QString DroppedPage(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().first();
    if (!url.isLocalFile())
        return {};
    QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char *page : {"asp", "asa", "inc", "htm", "html"})
        if (suffix == QLatin1String(page))
            return path;
    return {};
}

FileDrop::FileDrop(QWidget *window, std::function<void(const QString &)> open)
    : QObject(window),
      window_(window),
      open_(std::move(open))
{
    qApp->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != window_)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QString page = DroppedPage(drop->mimeData());
    if (page.isEmpty())
        return false;  // text dropped into the editor stays the editor's
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    // Opened once the drop is over: the load may ask questions in boxes.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, window_, [open = open_, page] { open(page); });
    return true;
}

}  // namespace qasp::app
