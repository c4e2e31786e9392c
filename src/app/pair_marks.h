// Marks the partner of the block keyword or bracket at the editor's caret
// (If with End If, ( with )) as the caret moves, as extra selections.
#pragma once

#include <QObject>

class QPlainTextEdit;

namespace qasp::app {

class PairMarks : public QObject {
    Q_OBJECT

public:
    explicit PairMarks(QPlainTextEdit *editor);

    // Marks the pair at the caret, or clears the marks.
    void update();

private:
    QPlainTextEdit *editor_;
};

}  // namespace qasp::app
