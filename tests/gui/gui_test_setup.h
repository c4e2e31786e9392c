#pragma once

#include "app/interface_font.h"

#include <QFile>
#include <QStandardPaths>

// Once per test program: stay out of the user's own data directory, and
// draw Chinese with the same face the program uses.
inline void PrepareGuiTests()
{
    QStandardPaths::setTestModeEnabled(true);
    qasp::app::InstallFontSubstitutions();
}

// Every test starts from a new keyword store: names a test declares must
// not colour the next test's text.
inline void UseFreshKeywordStore()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString store = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/main.db";
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(store + suffix);
}
