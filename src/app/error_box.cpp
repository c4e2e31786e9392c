#include "app/error_box.h"

#include "app/app_info.h"

#include <QMessageBox>

namespace qasp::app {

void ShowErrorBox(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, ApplicationTitle(), message);
}

}  // namespace qasp::app
