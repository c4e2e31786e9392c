#pragma once

#include <QFile>
#include <QStandardPaths>

// Every test starts from a new keyword store: names a test declares must
// not colour the next test's text. (Test mode keeps it out of the user's
// own data directory.)
inline void UseFreshKeywordStore()
{
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/main.db");
}
