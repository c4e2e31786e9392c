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

DirectoryDialog::DirectoryDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("TDLGDir");
    setWindowTitle(QString());
    resize(360, 420);
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel("请选择你要保存的目录:", this);
    layout->addWidget(Label1);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    ShellTreeView1 = new QTreeView(this);
    ShellTreeView1->setObjectName("ShellTreeView1");
    ShellTreeView1->setModel(model_);
    ShellTreeView1->setRootIndex(model_->index(QDir::rootPath()).parent());
    for (int column = 1; column < model_->columnCount(); ++column)
        ShellTreeView1->hideColumn(column);
    ShellTreeView1->header()->hide();
    layout->addWidget(ShellTreeView1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton("确定", this);
    Button1->setDefault(true);
    Button1->setEnabled(false);
    Button2 = new QPushButton("取消", this);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ShellTreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShellTreeView1Change(); });
    SelectPath(QDir::homePath());
}

QString DirectoryDialog::SelectedPath() const
{
    const QModelIndex current = ShellTreeView1->currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

void DirectoryDialog::SelectPath(const QString &path)
{
    const QModelIndex index = model_->index(path);
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1->scrollTo(index);
    ShellTreeView1Change();
}

void DirectoryDialog::ShellTreeView1Change()
{
    // Only a real folder can take the project.
    const QString path = SelectedPath();
    Button1->setEnabled(!path.isEmpty() && QFileInfo(path).isDir());
}

}  // namespace qasp::dialogs
