// The strip left of the editor that shows the file's line number of each
// row. A document node skips its procedures' lines, so the numbers are
// handed in rather than counted from the row.
#pragma once

#include <QWidget>

#include <vector>

class QPlainTextEdit;

namespace qasp::app {

class LineNumberGutter : public QWidget {
    Q_OBJECT
public:
    LineNumberGutter(QPlainTextEdit *editor, QWidget *parent);

    // One number per row of the editor; rows beyond them count on by one.
    void setLineNumbers(std::vector<int> numbers);
    // The number shown beside row `row`.
    int numberAt(int row) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateWidth();

    QPlainTextEdit *editor_;
    std::vector<int> numbers_;
};

}  // namespace qasp::app
