#include "app/find_replace_dialog.h"

#include "app/encoded_qstring.h"
#include "app/error_box.h"
#include "editor/editor_surface.h"
#include "project/window_surface.h"
#include "project/workspace.h"
#include "text/gbk_codec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qasp::app {

namespace {

template <typename W> W *Named(W *widget, const char *name)
{
    widget->setObjectName(name);
    return widget;
}

}  // namespace

FindReplaceDialog::FindReplaceDialog(ProjectWorkspace &ws, QWidget *parent) : QDialog(parent), ws_(ws)
{
    setObjectName("findReplaceDialog");
    setModal(false);
    findEdit_ = Named(new QLineEdit(this), "findEdit");
    replaceLabel_ = Named(new QLabel("替换为:", this), "replaceLabel");
    replaceEdit_ = Named(new QLineEdit(this), "replaceEdit");
    matchCaseBox_ = Named(new QCheckBox("区分大小写(&C)", this), "matchCaseBox");
    wholeWordBox_ = Named(new QCheckBox("全字匹配(&W)", this), "wholeWordBox");
    regexBox_ = Named(new QCheckBox("正则表达式(&E)", this), "regexBox");
    wrapBox_ = Named(new QCheckBox("循环查找(&L)", this), "wrapBox");
    wrapBox_->setChecked(true);
    scopeBox_ = Named(new QComboBox(this), "scopeBox");
    scopeBox_->addItem("当前节点", static_cast<int>(FindScope::Node));
    scopeBox_->addItem("整个工程", static_cast<int>(FindScope::Project));
    scopeBox_->setCurrentIndex(1);
    findNextButton_ = Named(new QPushButton("查找下一个(&F)", this), "findNextButton");
    replaceButton_ = Named(new QPushButton("替换(&R)", this), "replaceButton");
    replaceAllButton_ = Named(new QPushButton("全部替换(&A)", this), "replaceAllButton");
    closeButton_ = Named(new QPushButton("关闭", this), "closeButton");
    statusLabel_ = Named(new QLabel(this), "statusLabel");
    statusLabel_->setWordWrap(true);
    // Room for two lines from the start: a message does not resize the dialog.
    statusLabel_->setMinimumHeight(2 * statusLabel_->fontMetrics().lineSpacing());
    findNextButton_->setDefault(true);
    // Enter in either box finds; it never closes the dialog.
    closeButton_->setAutoDefault(false);
    replaceButton_->setAutoDefault(false);
    replaceAllButton_->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel("查找内容:", this), 0, 0);
    fields->addWidget(findEdit_, 0, 1);
    fields->addWidget(replaceLabel_, 1, 0);
    fields->addWidget(replaceEdit_, 1, 1);
    auto *options = new QGridLayout;
    options->addWidget(matchCaseBox_, 0, 0);
    options->addWidget(wholeWordBox_, 0, 1);
    options->addWidget(regexBox_, 1, 0);
    options->addWidget(wrapBox_, 1, 1);
    auto *scope = new QHBoxLayout;
    scope->addWidget(new QLabel("范围:", this));
    scope->addWidget(scopeBox_, 1);
    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addLayout(scope);
    left->addWidget(statusLabel_);
    left->addStretch();
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {findNextButton_, replaceButton_, replaceAllButton_, closeButton_})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(findNextButton_, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(replaceButton_, &QPushButton::clicked, this, &FindReplaceDialog::replaceOne);
    connect(replaceAllButton_, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    // The whole-word check applies to a regular expression as well; nothing
    // to switch off.
}

void FindReplaceDialog::showFor(bool replace)
{
    setWindowTitle(replace ? "替换" : "查找");
    replaceLabel_->setVisible(replace);
    replaceEdit_->setVisible(replace);
    replaceButton_->setVisible(replace);
    replaceAllButton_->setVisible(replace);
    const EditorSurface &memo = ws_.Window().Memo();
    const TreeNode *node = ws_.Tree().Selected();
    if (node && memo.SelectionLength() > 0) {
        const std::string selected = memo.SelectedText();
        if (selected.find_first_of("\r\n") == std::string::npos) {
            findEdit_->setText(FromBytes(selected, node->Encoding()));
        }
    }
    statusLabel_->clear();
    show();
    raise();
    activateWindow();
    findEdit_->setFocus();
    findEdit_->selectAll();
}

FindRequest FindReplaceDialog::request() const
{
    FindRequest r;
    r.pattern = findEdit_->text().toStdString();
    r.replacement = replaceEdit_->text().toStdString();
    r.options.matchCase = matchCaseBox_->isChecked();
    r.options.wholeWord = wholeWordBox_->isChecked();
    r.options.regex = regexBox_->isChecked();
    r.wrap = wrapBox_->isChecked();
    r.scope = static_cast<FindScope>(scopeBox_->currentData().toInt());
    return r;
}

template <typename Command> void FindReplaceDialog::run(Command command)
{
    const FindRequest r = request();
    // F3 in the editor searches on for the last plain text looked for.
    if (!r.options.regex && !r.pattern.empty())
        ws_.SearchText = Utf8ToGbk(r.pattern);
    FindOutcome outcome;
    if (!Guarded(this, [&] { outcome = command(ws_, r); }))
        return;
    statusLabel_->setText(QString::fromStdString(outcome.message));
}

void FindReplaceDialog::findNext()
{
    run(FindNextMatch);
}

void FindReplaceDialog::replaceOne()
{
    run(ReplaceAndFindNext);
}

void FindReplaceDialog::replaceAll()
{
    run(ReplaceAllMatches);
}

}  // namespace qasp::app
