// TFHelp: shows readme.txt from the current directory, read again every
// time the window becomes active.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace qasp::dialogs {

class TFHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFHelp(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr;

protected:
    bool event(QEvent *event) override;

private:
    void FormActivate();
};

}  // namespace qasp::dialogs
