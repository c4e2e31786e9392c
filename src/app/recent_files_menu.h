// 最近打开: the last root pages opened, most recent first, listed afresh
// each time the menu opens.
#pragma once

#include <QMenu>

#include <functional>

namespace qasp {
class ProjectMemory;
}

namespace qasp::app {

class RecentFilesMenu : public QMenu {
public:
    // `open` is called with the chosen page's path.
    RecentFilesMenu(ProjectMemory &memory, std::function<void(const QString &)> open, QWidget *parent);

private:
    void fill();

    ProjectMemory &memory_;
    std::function<void(const QString &)> open_;
};

}  // namespace qasp::app
