#pragma once

#include <QString>

class QWidget;

namespace qasp::app {

// The application's one way of reporting a failed operation: a critical
// message box with the error's own text.
void ShowErrorBox(QWidget *parent, const QString &message);

}  // namespace qasp::app
