#include "app/search_results_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qasp::app {

SearchResultsPanel::SearchResultsPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName("searchResults");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(1);
    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 2, 0);
    heading_ = new QLabel(this);
    heading_->setObjectName("searchResultsHeading");
    top->addWidget(heading_, 1);
    auto *close = new QToolButton(this);
    close->setObjectName("searchResultsClose");
    close->setText("关闭");
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    top->addWidget(close);
    layout->addLayout(top);

    list_ = new QTreeWidget(this);
    list_->setObjectName("searchResultList");
    list_->setHeaderLabels({"文档", "行", "内容"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 50);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { emit rowActivated(list_->indexOfTopLevelItem(item)); });
    list_->installEventFilter(this);
    setFixedHeight(150);
    hide();
}

void SearchResultsPanel::showResults(const QString &heading, const QList<Row> &rows)
{
    heading_->setText(heading);
    list_->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem({row.document, QString::number(row.line), row.text});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    show();
}

int SearchResultsPanel::count() const
{
    return list_->topLevelItemCount();
}

int SearchResultsPanel::currentRow() const
{
    return list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
}

void SearchResultsPanel::setCurrentRow(int row)
{
    if (QTreeWidgetItem *item = list_->topLevelItem(row)) {
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
}

bool SearchResultsPanel::eventFilter(QObject *watched, QEvent *event)
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
