#pragma once

#include <QString>

#include <exception>

class QWidget;

namespace qasp::app {

// The application's one way of reporting a failed operation: a critical
// message box with the error's own text.
void ShowErrorBox(QWidget *parent, const QString &message);

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
