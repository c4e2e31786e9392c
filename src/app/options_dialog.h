// 选项: the editor's font and tab width, the colour of every category, the
// encoding of new pages, what 保存 writes, and the site root of the open
// project. OK writes the settings file; the window then applies them.
#pragma once

#include "app/editor_options.h"
#include "editor/colour_category.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QPushButton;
class QSpinBox;

namespace qasp::app {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `shown` are the colours the editor shows now (defaults where no
    // colour is set); `siteRoot` is the open project's, empty without one.
    OptionsDialog(const EditorOptions &options, const std::array<QColor, kColourCategoryCount> &shown,
                  const QString &siteRoot, QWidget *parent);

    EditorOptions options() const;
    // Writes the options and the colours chosen into the settings file.
    void save() const;

signals:
    // 更改 beside the site root: the window asks for the folder once the
    // dialog is closed.
    void siteRootRequested();

private:
    void chooseColour(size_t category);
    void showColour(size_t category);

    QFontComboBox *fontBox_;
    QSpinBox *sizeBox_;
    QSpinBox *tabBox_;
    QCheckBox *wordEndBox_;
    QComboBox *schemeBox_;
    QComboBox *encodingBox_;
    QComboBox *saveBox_;
    std::array<QPushButton *, kColourCategoryCount> colourButtons_{};
    std::array<QColor, kColourCategoryCount> shown_;
    // A colour the user chose; none: the scheme's own.
    std::array<std::optional<QColor>, kColourCategoryCount> chosen_;
    bool coloursReset_ = false;
};

}  // namespace qasp::app
