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
    QString SelectedPath() const;
    void SelectPath(const QString &path);

    QLabel *Label1 = nullptr;
    QTreeView *ShellTreeView1 = nullptr;
    QPushButton *Button1 = nullptr;  // 确定
    QPushButton *Button2 = nullptr;  // 取消

private:
    void ShellTreeView1Change();

    QFileSystemModel *model_ = nullptr;
};

}  // namespace qasp::dialogs
