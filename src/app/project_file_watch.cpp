#include "app/project_file_watch.h"

#include "app/error_box.h"
#include "project/project_tree.h"
#include "project/workspace.h"

#include <QFileInfo>
#include <QSet>

namespace qasp::app {

ProjectFileWatch::ProjectFileWatch(ProjectWorkspace &ws, Prompter &prompter, QWidget *window)
    : QObject(window)
    , ws_(ws)
    , prompter_(prompter)
    , window_(window)
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
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
    for (const QString &path : files + folders)
        if (QFileInfo::exists(path))
            watcher_.addPath(path);
}

void ProjectFileWatch::checkNow()
{
    if (asking_)
        return;
    asking_ = true;
    Guarded(window_, [&] { OfferReloads(ws_, prompter_, told_); });
    asking_ = false;
    rewatch();
}

}  // namespace qasp::app
