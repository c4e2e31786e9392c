#include "app/error_box.h"

#include "app/app_info.h"
#include "app/unattended_run.h"

#include <QMessageBox>

namespace qasp::app {

void ShowErrorBox(QWidget *parent, const QString &message)
{
    if (IsUnattendedRun()) {
        FailUnattendedRun(message);
        return;
    }
    QMessageBox::critical(parent, ApplicationTitle(), message);
}

void ShowFallbackBox(QWidget *parent, const QString &message)
{
    if (IsUnattendedRun()) {
        WriteBoxToStderr(message);
        return;
    }
    QMessageBox::critical(parent, ApplicationTitle(), message);
}

}  // namespace qasp::app
