// The list under the editor that 在工程中查找 fills: one row per match with
// its document, its file line and the line's text. A click or Enter on a
// row asks for a jump there; 关闭 hides the list.
#pragma once

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace qasp::app {

class SearchResultsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SearchResultsPanel(QWidget *parent);

    struct Row {
        QString document;
        int line = 0;
        QString text;
    };
    void showResults(const QString &heading, const QList<Row> &rows);
    int count() const;
    int currentRow() const;
    // Highlights row `row` without asking for a jump.
    void setCurrentRow(int row);
    QTreeWidget *list() const { return list_; }

signals:
    void rowActivated(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *heading_;
    QTreeWidget *list_;
};

}  // namespace qasp::app
