#pragma once

#include <QString>

#include <exception>

class QWidget;

namespace qasp::app {

// The application's one way of reporting a failed operation: a critical
// message box with the error's own text. An unattended run writes the text
// to stderr and ends with a failure status instead.
void ShowErrorBox(QWidget *parent, const QString &message);

// A failure the program works around and goes on from (a skin refused while
// the one in use stays, the keyword store replaced by one in memory): the
// same box, or in an unattended run only a line on stderr.
void ShowFallbackBox(QWidget *parent, const QString &message);

// Runs a command; an error it raises ends it and is shown in the error box,
// after which the program goes on. Returns whether it ran to its end.
template <typename F> bool Guarded(QWidget *parent, F &&command)
{
    try {
        command();
        return true;
    } catch (const std::exception &e) {
        ShowErrorBox(parent, QString::fromUtf8(e.what()));
        return false;
    }
}

}  // namespace qasp::app
