#include "dialogs/help_window.h"

#include "text/gbk_codec.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace qasp::dialogs {

HelpWindow::HelpWindow(QString applicationTitle, QWidget *parent)
    : QDialog(parent),
      applicationTitle_(std::move(applicationTitle))
{
    setObjectName("helpWindow");
    setWindowTitle("帮助主题");
    setModal(false);
    resize(520, 420);
    auto *layout = new QVBoxLayout(this);
    helpText_ = new QPlainTextEdit(this);
    helpText_->setObjectName("helpText");
    helpText_->setReadOnly(true);
    QFont font("宋体");
    font.setPixelSize(14);
    helpText_->setFont(font);
    helpText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(helpText_);
    closeButton_ = new QPushButton("关闭", this);
    closeButton_->setObjectName("closeButton");
    layout->addWidget(closeButton_, 0, Qt::AlignRight);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
}

bool HelpWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        readHelpFile();
    return QDialog::event(event);
}

QString HelpWindow::helpFile()
{
    // The project's own readme.txt comes first; an installed program falls
    // back to the help text installed with it.
    QStringList candidates{QStringLiteral("readme.txt"),
                           QCoreApplication::applicationDirPath() + "/../share/quillmere-asp/readme.txt"};
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, "quillmere-asp/readme.txt");
    if (!installed.isEmpty())
        candidates << installed;
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return candidates.front();
}

void HelpWindow::readHelpFile()
{
    QFile file(helpFile());
    if (!file.open(QIODevice::ReadOnly)) {
        // Shown after the activation has finished, not inside it.
        QMetaObject::invokeMethod(
            this, [this] { QMessageBox::information(this, applicationTitle_, "找不到帮助文件:readme.txt"); },
            Qt::QueuedConnection);
        return;
    }
    const QByteArray bytes = file.readAll();
    // The help file is written in code page 936.
    helpText_->setPlainText(
        QString::fromStdString(GbkToUtf8(std::string_view(bytes.constData(), bytes.size()))));
}

}  // namespace qasp::dialogs
