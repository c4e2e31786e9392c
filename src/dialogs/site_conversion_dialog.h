// 转换站点编码: the whole site below the open page moved to UTF-8 or GBK.
// The plan is shown first (every file that changes, its declarations, what
// to review and what is refused); 转换 writes it all together or not at
// all, and is offered only while nothing is refused.
#pragma once

#include "convert/site_conversion.h"

#include <QDialog>

#include <filesystem>
#include <optional>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace qasp::dialogs {

class SiteConversionDialog : public QDialog {
    Q_OBJECT
public:
    // `folder`: where the site's pages are; `siteRoot`: where virtual
    // includes start (empty: found from the pages).
    SiteConversionDialog(std::filesystem::path folder, std::filesystem::path siteRoot,
                         QWidget *parent = nullptr);

signals:
    // The files were written: what is open of them must be read again.
    void converted();

private:
    void plan();
    void run();

    std::filesystem::path folder_;
    std::filesystem::path siteRoot_;
    std::optional<convert::ConversionPlan> plan_;
    QComboBox *target_ = nullptr;
    QCheckBox *allText_ = nullptr;
    QPlainTextEdit *preview_ = nullptr;
    QPushButton *convertButton_ = nullptr;
};

}  // namespace qasp::dialogs
