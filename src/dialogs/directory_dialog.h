// DirectoryDialog: the folder the project is saved into, chosen from the file
// system's tree of folders (hidden ones too).
#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace qasp::dialogs {

class DirectoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit DirectoryDialog(QWidget *parent = nullptr);

    // The selected folder's path; empty when none is selected.
    QString selectedPath() const;
    void selectPath(const QString &path);

private:
    void updateOkButton();

    QFileSystemModel *model_ = nullptr;
    // Object names as the members' names without the underscore.
    QLabel *promptLabel_ = nullptr;
    QTreeView *folderTree_ = nullptr;
    QPushButton *okButton_ = nullptr;      // 确定
    QPushButton *cancelButton_ = nullptr;  // 取消
};

}  // namespace qasp::dialogs
