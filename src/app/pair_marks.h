// Marks the partner of the block keyword or bracket at the editor's caret
// (If with End If, ( with )) as the caret moves, as extra selections.
#pragma once

#include <QObject>
#include <QTextEdit>

class QPlainTextEdit;

namespace qasp::app {

class PairMarks : public QObject {
    Q_OBJECT

public:
    explicit PairMarks(QPlainTextEdit *editor);

    // Marks the pair at the caret, or clears the marks.
    void update();
    // Marks that stay whatever the caret does (the problems' underlines),
    // drawn under the pair's: the editor has one list of extra selections.
    void setLastingMarks(QList<QTextEdit::ExtraSelection> marks);

private:
    QPlainTextEdit *editor_;
    QList<QTextEdit::ExtraSelection> lasting_;
};

}  // namespace qasp::app
