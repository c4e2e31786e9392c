// Watches the files of the open project and, a moment after one of them is
// changed by another program, offers to read it again.
#pragma once

#include "project/outside_changes.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace qasp {
class ProjectWorkspace;
class Prompter;
}  // namespace qasp

namespace qasp::app {

class ProjectFileWatch : public QObject {
    Q_OBJECT
public:
    ProjectFileWatch(ProjectWorkspace &ws, Prompter &prompter, QWidget *window);

    // Watches the files of every document now in the project (after a load
    // or a save).
    void rewatch();
    // Compares every document with its file now and asks about changes.
    void checkNow();

signals:
    // Around the questions and the reloads they may lead to: the view keeps
    // what a reload would lose (the open nodes, the title).
    void checking();
    void checked();

private:
    ProjectWorkspace &ws_;
    Prompter &prompter_;
    QWidget *window_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    OutsideChangeMemory told_;
    bool asking_ = false;
};

}  // namespace qasp::app
