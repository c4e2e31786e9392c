#pragma once

#include "app/interface_font.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>

// Once per test program: stay out of the user's own data directory, and
// draw Chinese with the same face the program uses.
inline void PrepareGuiTests()
{
    QStandardPaths::setTestModeEnabled(true);
    // Settings (recent files, window place, colours) go to a folder of the
    // test program's own, emptied first.
    const QString settings =
        QDir::tempPath() + QStringLiteral("/qasp-test-settings-%1").arg(QCoreApplication::applicationName());
    QDir(settings).removeRecursively();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
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

// One of a window's widgets (or other parts), found by its object name. A
// part that is not there ends the test program, naming what was looked for.
template <typename T> T *PartOf(const QObject &window, const QString &name)
{
    T *part = window.findChild<T *>(name);
    if (!part)
        qFatal("no %s named \"%s\" in %s", T::staticMetaObject.className(), qPrintable(name),
               qPrintable(window.objectName()));
    return part;
}

// The main window's editor, which most tests type into.
inline QPlainTextEdit *EditorOf(const QObject &window)
{
    return PartOf<QPlainTextEdit>(window, QStringLiteral("editor"));
}

// Panel 0 of the status bar shows the node's status line, 1 the caret's
// row and column, 2 a hint.
inline QLabel *StatusPanelOf(const QObject &window, int panel)
{
    return PartOf<QLabel>(window, QStringLiteral("statusPanel%1").arg(panel));
}
