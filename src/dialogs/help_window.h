// HelpWindow: shows readme.txt from the current directory (or, when there is
// none, the help text installed with the program), read again every time
// the window becomes active.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace qasp::dialogs {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // `applicationTitle` heads the message that no help file was found.
    explicit HelpWindow(QString applicationTitle, QWidget *parent = nullptr);

    // The file the window shows.
    static QString helpFile();

protected:
    bool event(QEvent *event) override;

private:
    void readHelpFile();

    // Object names as the members' names without the underscore.
    QPlainTextEdit *helpText_ = nullptr;
    QPushButton *closeButton_ = nullptr;
    QString applicationTitle_;
};

}  // namespace qasp::dialogs
