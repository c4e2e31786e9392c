#include "dialogs/site_conversion_dialog.h"

#include "convert/plan_preview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace qasp::dialogs {

SiteConversionDialog::SiteConversionDialog(std::filesystem::path folder, std::filesystem::path siteRoot,
                                           QWidget *parent)
    : QDialog(parent),
      folder_(std::move(folder)),
      siteRoot_(std::move(siteRoot))
{
    setObjectName("siteConversionDialog");
    setWindowTitle("转换站点编码");
    resize(720, 480);
    auto *layout = new QVBoxLayout(this);
    auto *options = new QHBoxLayout;
    options->addWidget(new QLabel("转换为:", this));
    target_ = new QComboBox(this);
    target_->setObjectName("targetEncoding");
    target_->addItem("UTF-8", static_cast<int>(TextEncoding::Utf8));
    target_->addItem("GBK", static_cast<int>(TextEncoding::Gbk));
    options->addWidget(target_);
    allText_ = new QCheckBox("也转换 .htm .html .js .css .txt .inc 文件", this);
    allText_->setObjectName("allText");
    options->addWidget(allText_);
    options->addStretch();
    layout->addLayout(options);
    layout->addWidget(
        new QLabel(QString("站点文件夹: %1").arg(QString::fromStdString(folder_.string())), this));
    preview_ = new QPlainTextEdit(this);
    preview_->setObjectName("conversionPreview");
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(preview_, 1);
    auto *buttons = new QDialogButtonBox(this);
    convertButton_ = buttons->addButton("转换", QDialogButtonBox::AcceptRole);
    convertButton_->setObjectName("convertButton");
    buttons->addButton("关闭", QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(convertButton_, &QPushButton::clicked, this, &SiteConversionDialog::run);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(target_, &QComboBox::currentIndexChanged, this, &SiteConversionDialog::plan);
    connect(allText_, &QCheckBox::toggled, this, &SiteConversionDialog::plan);
    plan();
}

void SiteConversionDialog::plan()
{
    convert::ConversionOptions options;
    options.target = static_cast<TextEncoding>(target_->currentData().toInt());
    options.allText = allText_->isChecked();
    if (!siteRoot_.empty())
        options.siteRoot = siteRoot_;
    try {
        plan_ = convert::PlanConversion({folder_}, options);
        preview_->setPlainText(QString::fromStdString(convert::PlanPreview(*plan_)));
    } catch (const std::exception &e) {
        plan_.reset();
        preview_->setPlainText(QString("无法制定转换计划：%1").arg(QString::fromUtf8(e.what())));
    }
    convertButton_->setEnabled(plan_ && plan_->CanRun() && plan_->ChangedFiles() > 0);
}

void SiteConversionDialog::run()
{
    if (!plan_)
        return;
    const QString question =
        QString("将写入 %1 个文件（全部写入或全部不写）。要转换吗?").arg(plan_->ChangedFiles());
    if (QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No)
        != QMessageBox::Yes)
        return;
    try {
        convert::RunConversion(*plan_);
    } catch (const std::exception &e) {
        QMessageBox::warning(this, windowTitle(),
                             QString("没有转换任何文件：%1").arg(QString::fromUtf8(e.what())));
        plan();
        return;
    }
    const QString back = plan_->target == TextEncoding::Utf8 ? "GBK" : "UTF-8";
    QMessageBox::information(this, windowTitle(),
                             QString("已转换 %1 个文件。要转换回去，请再次打开此对话框并选择 %2。")
                                 .arg(plan_->ChangedFiles())
                                 .arg(back));
    emit converted();
    plan();
}

}  // namespace qasp::dialogs
