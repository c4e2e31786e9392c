// The 问题 list under the editor: one row per problem of the open page and
// its includes, with its kind (错误 red, 警告 amber), file, line, message
// and code. A click or Enter on a row asks for a jump there; 关闭 hides it.
#pragma once

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace qasp::app {

class ProblemsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProblemsPanel(QWidget *parent);

    struct Row {
        bool error = true;
        QString file;
        int line = 0;
        QString message;
        QString code;
    };
    // The rows replace the list's; the current row stays where it was.
    void setRows(const QString &heading, const QList<Row> &rows);
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

// The colours of the two kinds, for the list and the underlines alike.
QColor ProblemColour(bool error);
// The pale background behind a marked word.
QColor ProblemTint(bool error);

}  // namespace qasp::app
