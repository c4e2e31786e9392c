#include "app/options_dialog.h"

#include "app/app_settings.h"
#include "app/page_highlighter.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qasp::app {
namespace {

// The categories as the dialog names them; the first seven as the legend does.
constexpr const char *kCaptions[kColourCategoryCount] = {
    "默认文字", "字符串", "VB关键字", "全局量",   "局部量",     "全局模块",   "注释语句",   "HTML标签",
    "属性名",   "属性值", "字符实体", "HTML注释", "指令和包含", "脚本界定符", "客户端脚本", "样式表"};

QString KeyOf(size_t category)
{
    return ColourSettingKey(static_cast<ColourCategory>(category));
}

}  // namespace

OptionsDialog::OptionsDialog(const EditorOptions &options,
                             const std::array<QColor, kColourCategoryCount> &shown, const QString &siteRoot,
                             QWidget *parent)
    : QDialog(parent),
      shown_(shown)
{
    setObjectName("optionsDialog");
    setWindowTitle("选项");

    auto *editor = new QGroupBox("编辑器", this);
    auto *editorForm = new QFormLayout(editor);
    fontBox_ = new QFontComboBox(editor);
    fontBox_->setObjectName("fontBox");
    fontBox_->setCurrentFont(options.font);
    sizeBox_ = new QSpinBox(editor);
    sizeBox_->setObjectName("sizeBox");
    sizeBox_->setRange(kSmallestFontSize, kLargestFontSize);
    sizeBox_->setSuffix(" 像素");
    sizeBox_->setValue(options.font.pixelSize() > 0 ? options.font.pixelSize() : 12);
    tabBox_ = new QSpinBox(editor);
    tabBox_->setObjectName("tabBox");
    tabBox_->setRange(1, 16);
    tabBox_->setSuffix(" 个字符");
    tabBox_->setValue(options.tabCharacters);
    editorForm->addRow("字体(&F):", fontBox_);
    editorForm->addRow("字号(&S):", sizeBox_);
    editorForm->addRow("制表符宽度(&T):", tabBox_);
    wordEndBox_ = new QCheckBox("空格和标点也选用补全列表中的词(&W)", editor);
    wordEndBox_->setObjectName("completeOnWordEndBox");
    wordEndBox_->setChecked(options.completeOnWordEnd);
    editorForm->addRow(wordEndBox_);

    auto *colours = new QGroupBox("颜色", this);
    auto *colourGrid = new QGridLayout(colours);
    schemeBox_ = new QComboBox(colours);
    schemeBox_->setObjectName("schemeBox");
    schemeBox_->addItem("随编辑器背景", QString());
    schemeBox_->addItem("浅色", "light");
    schemeBox_->addItem("深色", "dark");
    schemeBox_->addItem("经典", "classic");
    AppSettings settings;
    schemeBox_->setCurrentIndex(
        std::max(0, schemeBox_->findData(settings.value("colours/scheme").toString())));
    auto *schemeLabel = new QLabel("配色方案(&C):", colours);
    schemeLabel->setBuddy(schemeBox_);
    colourGrid->addWidget(schemeLabel, 0, 0);
    colourGrid->addWidget(schemeBox_, 0, 1, 1, 3);
    for (size_t i = 0; i < kColourCategoryCount; ++i) {
        auto *button = new QPushButton(QString::fromUtf8(kCaptions[i]), colours);
        button->setObjectName("colour-" + KeyOf(i));
        colourButtons_[i] = button;
        connect(button, &QPushButton::clicked, this, [this, i] { chooseColour(i); });
        showColour(i);
        colourGrid->addWidget(button, 1 + static_cast<int>(i) / 4, static_cast<int>(i) % 4);
    }
    auto *reset = new QPushButton("恢复默认颜色(&D)", colours);
    reset->setObjectName("resetColours");
    connect(reset, &QPushButton::clicked, this, [this] {
        coloursReset_ = true;
        chosen_.fill(std::nullopt);
        schemeBox_->setCurrentIndex(0);
        for (size_t i = 0; i < kColourCategoryCount; ++i)
            showColour(i);
    });
    colourGrid->addWidget(reset, 5, 0, 1, 2);

    auto *files = new QGroupBox("文件", this);
    auto *filesForm = new QFormLayout(files);
    encodingBox_ = new QComboBox(files);
    encodingBox_->setObjectName("encodingBox");
    encodingBox_->addItem("GBK");
    encodingBox_->addItem("UTF-8");
    encodingBox_->setCurrentIndex(options.newPageEncoding == TextEncoding::Utf8 ? 1 : 0);
    saveBox_ = new QComboBox(files);
    saveBox_->setObjectName("saveBox");
    saveBox_->addItem("保持文件原样，只写改动过的文件");
    saveBox_->addItem("按工程布局写出每个文档");
    saveBox_->setCurrentIndex(options.saveWritesLayout ? 1 : 0);
    auto *rootRow = new QWidget(files);
    auto *rootLayout = new QHBoxLayout(rootRow);
    rootLayout->setContentsMargins(0, 0, 0, 0);
    auto *rootLabel = new QLabel(siteRoot.isEmpty() ? QString("(未打开工程)") : siteRoot, rootRow);
    rootLabel->setObjectName("siteRootLabel");
    rootLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *changeRoot = new QPushButton("更改(&R)...", rootRow);
    changeRoot->setObjectName("changeSiteRoot");
    changeRoot->setEnabled(!siteRoot.isEmpty());
    connect(changeRoot, &QPushButton::clicked, this, [this] {
        accept();
        emit siteRootRequested();
    });
    rootLayout->addWidget(rootLabel, 1);
    rootLayout->addWidget(changeRoot);
    filesForm->addRow("新页面的编码(&E):", encodingBox_);
    filesForm->addRow("保存(&V):", saveBox_);
    filesForm->addRow("站点根目录:", rootRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(editor);
    layout->addWidget(colours);
    layout->addWidget(files);
    layout->addWidget(buttons);
}

void OptionsDialog::chooseColour(size_t category)
{
    const QColor now = chosen_[category].value_or(shown_[category]);
    const QColor picked = QColorDialog::getColor(now, this, QString::fromUtf8(kCaptions[category]));
    if (!picked.isValid())
        return;
    chosen_[category] = picked;
    showColour(category);
}

void OptionsDialog::showColour(size_t category)
{
    const QColor c = chosen_[category].value_or(shown_[category]);
    // The caption in its colour on the editor's ground, as the legend shows it.
    colourButtons_[category]->setStyleSheet(QString("color: %1;").arg(c.name()));
    colourButtons_[category]->setToolTip(c.name().toUpper());
}

EditorOptions OptionsDialog::options() const
{
    EditorOptions o;
    o.font = fontBox_->currentFont();
    o.font.setPixelSize(sizeBox_->value());
    o.tabCharacters = tabBox_->value();
    o.newPageEncoding = encodingBox_->currentIndex() == 1 ? TextEncoding::Utf8 : TextEncoding::Gbk;
    o.saveWritesLayout = saveBox_->currentIndex() == 1;
    o.completeOnWordEnd = wordEndBox_->isChecked();
    return o;
}

void OptionsDialog::save() const
{
    SaveEditorOptions(options());
    AppSettings settings;
    settings.beginGroup("colours");
    if (coloursReset_)
        settings.remove("");
    settings.setValue("scheme", schemeBox_->currentData().toString());
    for (size_t i = 0; i < kColourCategoryCount; ++i)
        if (chosen_[i])
            settings.setValue(KeyOf(i), chosen_[i]->name());
}

}  // namespace qasp::app
