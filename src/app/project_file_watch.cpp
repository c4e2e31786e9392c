#include "app/project_file_watch.h"

#include "app/error_box.h"
#include "project/project_tree.h"
#include "project/workspace.h"

#include <QFileInfo>
#include <QSet>

namespace qasp::app {

ProjectFileWatch::ProjectFileWatch(ProjectWorkspace &ws, Prompter &prompter, QWidget *window)
    : QObject(window),
      ws_(ws),
      prompter_(prompter),
      window_(window)
{
    // Programs save in several steps (write, rename, touch): look once they
    // are done.
    settle_.setSingleShot(true);
    settle_.setInterval(300);
    connect(&settle_, &QTimer::timeout, this, &ProjectFileWatch::checkNow);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

void ProjectFileWatch::rewatch()
{
    QSet<QString> files, folders;
    const ProjectTree &tree = ws_.Tree();
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (n->IsDocument() && n->Record() && !n->Record()->SourceFile.empty()) {
            const QString file = QString::fromStdString(n->Record()->SourceFile.string());
            files.insert(file);
            // A file replaced by a rename, or deleted, is seen by its folder.
            folders.insert(QFileInfo(file).absolutePath());
        }
    // Runs after every command, keystrokes such as Ctrl+Z included: only
    // the difference reaches the file system.
    const QSet<QString> wanted = files + folders;
    const QStringList watchedList = watcher_.files() + watcher_.directories();
    const QSet<QString> watched(watchedList.begin(), watchedList.end());
    const QSet<QString> gone = watched - wanted;
    if (!gone.isEmpty())
        watcher_.removePaths(gone.values());
    for (const QString &path : wanted - watched)
        if (QFileInfo::exists(path))
            watcher_.addPath(path);
}

void ProjectFileWatch::checkNow()
{
    if (asking_)
        return;
    asking_ = true;
    emit checking();
    Guarded(window_, [&] { OfferReloads(ws_, prompter_, told_); });
    emit checked();
    asking_ = false;
    rewatch();
}

}  // namespace qasp::app
