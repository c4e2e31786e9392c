// The find and replace dialog: one non-modal window for finding, replacing
// one match and replacing all, in the selected node or the whole project.
// Escape or 关闭 only hides it; the editor keeps what was found last.
#pragma once

#include "project/find_replace.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qasp {
class ProjectWorkspace;
}

namespace qasp::app {

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    FindReplaceDialog(ProjectWorkspace &ws, QWidget *parent);

    // Shows the dialog, the replace row too when `replace`; a selection of
    // one line in the editor becomes what is looked for.
    void showFor(bool replace);
    // The dialog's fields as a request.
    FindRequest request() const;

private:
    void findNext();
    void replaceOne();
    void replaceAll();
    // Runs a command of the dialog; its message goes to the status line.
    template <typename Command> void run(Command command);

    ProjectWorkspace &ws_;
    // Object names as the members' names without the underscore.
    QLineEdit *findEdit_ = nullptr;
    QLabel *replaceLabel_ = nullptr;
    QLineEdit *replaceEdit_ = nullptr;
    QCheckBox *matchCaseBox_ = nullptr;
    QCheckBox *wholeWordBox_ = nullptr;
    QCheckBox *regexBox_ = nullptr;
    QCheckBox *wrapBox_ = nullptr;
    QComboBox *scopeBox_ = nullptr;
    QPushButton *findNextButton_ = nullptr;
    QPushButton *replaceButton_ = nullptr;
    QPushButton *replaceAllButton_ = nullptr;
    QPushButton *closeButton_ = nullptr;
    QLabel *statusLabel_ = nullptr;
};

}  // namespace qasp::app
