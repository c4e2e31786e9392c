#include "app/unattended_run.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace qasp::app {
namespace {

bool unattended = false;
bool failed = false;

}  // namespace

void SetUnattendedRun(bool on)
{
    unattended = on;
    failed = false;
}

bool IsUnattendedRun()
{
    return unattended;
}

void WriteBoxToStderr(const QString &text)
{
    // Old skin messages end their lines with a bare CR.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    std::fprintf(stderr, "quillmere-asp: %s\n", lines.toUtf8().constData());
    std::fflush(stderr);
}

void FailUnattendedRun(const QString &text)
{
    WriteBoxToStderr(text);
    failed = true;
    // Only a running loop may be told to exit: told before it starts, the
    // next loop of any kind would return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(1);
}

bool UnattendedRunFailed()
{
    return failed;
}

}  // namespace qasp::app
