#include "app/problems_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qasp::app {

QColor ProblemColour(bool error)
{
    return error ? QColor(220, 0, 0) : QColor(225, 150, 0);
}

QColor ProblemTint(bool error)
{
    return error ? QColor(255, 215, 215) : QColor(255, 238, 190);
}

ProblemsPanel::ProblemsPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName("problems");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(1);
    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 2, 0);
    heading_ = new QLabel(this);
    heading_->setObjectName("problemsHeading");
    top->addWidget(heading_, 1);
    auto *close = new QToolButton(this);
    close->setObjectName("problemsClose");
    close->setText("关闭");
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    top->addWidget(close);
    layout->addLayout(top);

    list_ = new QTreeWidget(this);
    list_->setObjectName("problemList");
    list_->setHeaderLabels({"类别", "文件", "行", "问题", "代码"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(3, QHeaderView::Stretch);
    list_->setColumnWidth(0, 44);
    list_->setColumnWidth(1, 180);
    // A long path keeps its file's name in sight.
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setColumnWidth(2, 50);
    list_->setColumnWidth(4, 110);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { emit rowActivated(list_->indexOfTopLevelItem(item)); });
    list_->installEventFilter(this);
    setFixedHeight(130);
    hide();
}

void ProblemsPanel::setRows(const QString &heading, const QList<Row> &rows)
{
    heading_->setText(heading);
    const int current = currentRow();
    list_->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(
            {row.error ? "错误" : "警告", row.file, QString::number(row.line), row.message, row.code});
        item->setForeground(0, ProblemColour(row.error));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(1, row.file);
        item->setToolTip(3, row.message);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    if (current >= 0 && current < count())
        list_->setCurrentItem(list_->topLevelItem(current), 0, QItemSelectionModel::NoUpdate);
}

int ProblemsPanel::count() const
{
    return list_->topLevelItemCount();
}

int ProblemsPanel::currentRow() const
{
    return list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
}

void ProblemsPanel::setCurrentRow(int row)
{
    if (QTreeWidgetItem *item = list_->topLevelItem(row)) {
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
}

bool ProblemsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && currentRow() >= 0) {
            emit rowActivated(currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qasp::app
