#include "app/qt_prompter.h"

#include "app/app_info.h"

#include <QInputDialog>
#include <QMessageBox>

namespace qasp::app {
namespace {

QString Utf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

void QtPrompter::Information(std::string_view text)
{
    QMessageBox::information(parent_, ApplicationTitle(), Utf8(text));
}

int QtPrompter::Question(std::string_view title, std::string_view text, int flags)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (flags == kYesNoCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, Utf8(title), Utf8(text), buttons, parent_);
    switch (box.exec()) {
    case QMessageBox::Yes: return kAnswerYes;
    case QMessageBox::No: return kAnswerNo;
    default: return kAnswerCancel;
    }
}

std::string QtPrompter::InputBox(std::string_view title, std::string_view prompt,
                                 std::string_view defaultValue)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, Utf8(title), Utf8(prompt),
                                                 QLineEdit::Normal, Utf8(defaultValue), &ok);
    return ok ? answer.toStdString() : std::string(defaultValue);
}

}  // namespace qasp::app
