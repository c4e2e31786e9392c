// The strip left of the editor that shows the file's line number of each
// row: a document node shows its whole file from line 1, a procedure node
// a run of its file's lines from the one its block starts on.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace qasp::app {

class LineNumberGutter : public QWidget {
    Q_OBJECT
public:
    LineNumberGutter(QPlainTextEdit *editor, QWidget *parent);

    // The number of the editor's first row; the rows below count on by one.
    void setFirstLineNumber(int first);
    // The number shown beside row `row`.
    int numberAt(int row) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateWidth();

    QPlainTextEdit *editor_;
    int first_ = 1;
};

}  // namespace qasp::app
