#include "app/store_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qasp::app {

QString KeywordStorePath()
{
    QString besideExe = QDir(QCoreApplication::applicationDirPath()).filePath("main.db");
    const QFileInfo file(besideExe);
    const QFileInfo dir(QCoreApplication::applicationDirPath());
    if (file.exists() && file.isWritable() && dir.isWritable())
        return besideExe;
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    return QDir(dataDir).filePath("main.db");
}

}  // namespace qasp::app
