#include "dialogs/directory_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qasp::dialogs {

DirectoryDialog::DirectoryDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName("directoryDialog");
    setWindowTitle(QString());
    resize(360, 420);
    auto *layout = new QVBoxLayout(this);
    promptLabel_ = new QLabel("请选择你要保存的目录:", this);
    promptLabel_->setObjectName("promptLabel");
    layout->addWidget(promptLabel_);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    folderTree_ = new QTreeView(this);
    folderTree_->setObjectName("folderTree");
    folderTree_->setModel(model_);
    folderTree_->setRootIndex(model_->index(QDir::rootPath()).parent());
    for (int column = 1; column < model_->columnCount(); ++column)
        folderTree_->hideColumn(column);
    folderTree_->header()->hide();
    layout->addWidget(folderTree_);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton_ = new QPushButton("确定", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    okButton_->setEnabled(false);
    cancelButton_ = new QPushButton("取消", this);
    cancelButton_->setObjectName("cancelButton");
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { updateOkButton(); });
    selectPath(QDir::homePath());
}

QString DirectoryDialog::selectedPath() const
{
    const QModelIndex current = folderTree_->currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

void DirectoryDialog::selectPath(const QString &path)
{
    const QModelIndex index = model_->index(path);
    folderTree_->setCurrentIndex(index);
    folderTree_->scrollTo(index);
    updateOkButton();
}

void DirectoryDialog::updateOkButton()
{
    // Only a real folder can take the project.
    const QString path = selectedPath();
    okButton_->setEnabled(!path.isEmpty() && QFileInfo(path).isDir());
}

}  // namespace qasp::dialogs
