#include "app/qt_prompter.h"

#include "app/app_info.h"
#include "app/unattended_run.h"

#include <QInputDialog>
#include <QMessageBox>

namespace qasp::app {
namespace {

QString Utf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void QtPrompter::Information(std::string_view text)
{
    if (IsUnattendedRun()) {
        WriteBoxToStderr(Utf8(text));
        return;
    }
    QMessageBox::information(parent_, ApplicationTitle(), Utf8(text));
}

Answer QtPrompter::Question(std::string_view title, std::string_view text, QuestionButtons flags)
{
    if (IsUnattendedRun()) {
        // Nobody answers: the answer that leaves everything as it is.
        const bool cancel = flags == QuestionButtons::YesNoCancel;
        WriteBoxToStderr(
            QStringLiteral("%1：%2（无人应答，按“%3”处理）")
                .arg(Utf8(title), Utf8(text), cancel ? QStringLiteral("取消") : QStringLiteral("否")));
        return cancel ? Answer::Cancel : Answer::No;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (flags == QuestionButtons::YesNoCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, Utf8(title), Utf8(text), buttons, parent_);
    if (flags == QuestionButtons::YesNoNoDefault)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::string QtPrompter::InputBox(std::string_view title, std::string_view prompt,
                                 std::string_view defaultValue)
{
    if (IsUnattendedRun()) {
        WriteBoxToStderr(QStringLiteral("%1：%2（无人应答，按默认值处理）").arg(Utf8(title), Utf8(prompt)));
        return std::string(defaultValue);
    }
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent_, Utf8(title), Utf8(prompt), QLineEdit::Normal, Utf8(defaultValue), &ok);
    return ok ? answer.toStdString() : std::string(defaultValue);
}

}  // namespace qasp::app
