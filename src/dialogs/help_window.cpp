#include "dialogs/help_window.h"

#include "app/app_info.h"
#include "app/gbk_qstring.h"

#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qasp::dialogs {

TFHelp::TFHelp(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("TFHelp");
    setWindowTitle("帮助主题");
    setModal(false);
    resize(520, 420);
    auto *layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    QFont font("宋体");
    font.setPixelSize(14);
    Memo1->setFont(font);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo1);
    Button1 = new QPushButton("关闭", this);
    Button1->setObjectName("Button1");
    layout->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &QDialog::close);
}

bool TFHelp::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TFHelp::FormActivate()
{
    QFile file("readme.txt");
    if (!file.open(QIODevice::ReadOnly)) {
        // Shown after the activation has finished, not inside it.
        QMetaObject::invokeMethod(this, [this] {
            QMessageBox::information(this, app::ApplicationTitle(), "找不到帮助文件:readme.txt");
        }, Qt::QueuedConnection);
        return;
    }
    const QByteArray bytes = file.readAll();
    Memo1->setPlainText(app::FromGbk(std::string_view(bytes.constData(), bytes.size())));
}

}  // namespace qasp::dialogs
