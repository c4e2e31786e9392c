#include "app/recent_files_menu.h"

#include "app/path_text.h"

#include "project/project_memory.h"

#include <QFile>

namespace qasp::app {

RecentFilesMenu::RecentFilesMenu(ProjectMemory &memory, std::function<void(const QString &)> open,
                                 QWidget *parent)
    : QMenu(QStringLiteral("最近打开(&J)"), parent),
      memory_(memory),
      open_(std::move(open))
{
    setObjectName("recentFilesMenu");
    connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::fill);
    fill();
}

void RecentFilesMenu::fill()
{
    clear();
    int number = 0;
    for (const std::filesystem::path &file : memory_.RecentFiles()) {
        const QString path = PathText(file);
        // "&1" to "&9", then "1&0": the digit is the key in the open menu.
        const QString key = ++number < 10 ? QStringLiteral("&%1").arg(number) : QStringLiteral("1&0");
        QAction *a = addAction(QStringLiteral("%1 %2").arg(key, QString(path).replace('&', "&&")));
        connect(a, &QAction::triggered, this, [this, path] { open_(path); });
    }
    if (actions().isEmpty())
        addAction(QStringLiteral("(无)"))->setEnabled(false);
}

}  // namespace qasp::app
