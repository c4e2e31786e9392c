#include "app/completion_popup.h"

#include "app/gbk_qstring.h"
#include "app/icons.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace qasp::app {
namespace {

constexpr int kHintRole = Qt::UserRole;
constexpr int kIconRole = Qt::UserRole + 1;

}  // namespace

CompletionPopup::CompletionPopup(QListWidget *list, QPlainTextEdit *editor) : list_(list), editor_(editor) {}

void CompletionPopup::Clear()
{
    list_->clear();
}

void CompletionPopup::AddItem(const std::string &caption, const std::string &hint, int icon)
{
    auto *item = new QListWidgetItem(HListIcoIcon(icon), FromGbk(caption), list_);
    item->setData(kHintRole, QByteArray::fromStdString(hint));
    item->setData(kIconRole, icon);
    item->setToolTip(FromGbk(hint));
}

int CompletionPopup::Count() const
{
    return list_->count();
}

int CompletionPopup::Highlighted() const
{
    return list_->currentRow();
}

void CompletionPopup::Highlight(int index)
{
    list_->setCurrentRow(index);
    if (QListWidgetItem *item = list_->item(index))
        list_->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

std::string CompletionPopup::Caption(int index) const
{
    const QListWidgetItem *item = list_->item(index);
    return item ? ToGbk(item->text()) : std::string();
}

std::string CompletionPopup::Hint(int index) const
{
    const QListWidgetItem *item = list_->item(index);
    return item ? item->data(kHintRole).toByteArray().toStdString() : std::string();
}

int CompletionPopup::Icon(int index) const
{
    const QListWidgetItem *item = list_->item(index);
    return item ? item->data(kIconRole).toInt() : -1;
}

void CompletionPopup::Show()
{
    list_->show();
    list_->raise();
}

void CompletionPopup::Hide()
{
    list_->hide();
}

bool CompletionPopup::IsVisible() const
{
    return list_->isVisible();
}

void CompletionPopup::PlaceAtCaret()
{
    const QRect caret = editor_->cursorRect();
    const QPoint at = editor_->viewport()->mapTo(list_->parentWidget(), caret.bottomLeft());
    list_->move(at);
}

}  // namespace qasp::app
