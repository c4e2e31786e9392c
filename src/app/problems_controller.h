// The page's problems in the window: after a pause in typing the root page
// is checked with its includes, from the documents' texts as they are, on
// a thread of its own; errors are underlined red and warnings amber in the
// editor (the message shows under the resting pointer), the 问题 list
// under the editor names them all (F8 / Shift+F8 walk them), the status
// bar counts them and the tree marks the files with errors.
#pragma once

#include "project/project_problems.h"
#include "project/project_tree.h"

#include <QObject>
#include <QTextCursor>
#include <QTimer>

#include <cstdint>
#include <future>
#include <memory>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace qasp::app {

class MainWindow;
class PairMarks;
class ProblemsPanel;

class ProblemsController : public QObject, public TreeObserver {
    Q_OBJECT
public:
    // How long the text must rest before a check.
    static constexpr int kPauseMs = 500;

    explicit ProblemsController(MainWindow &window);
    ~ProblemsController() override;

    ProblemsPanel *panel() const { return panel_; }
    QLabel *counts() const { return counts_; }
    // Whether a check waits for the pause or runs.
    bool busy() const { return pause_.isActive() || running_.valid(); }
    // The commands, as their actions run them.
    void stepProblem(int step);
    void openProblem(int row);
    // How long the last check took: the copy of the texts and the showing
    // of the problems on the window's thread, the check on its own.
    struct Times {
        qint64 copyMs = 0, checkMs = 0, showMs = 0;
    };
    Times lastTimes() const { return times_; }
    // The message of the problem marked at `position` of the editor (a
    // character position); empty when none is.
    QString messageAt(int position) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A check waits for the next pause.
    void changed();
    void startCheck();
    void finished(ProblemCheck check, std::uint64_t revisions, qint64 checkMs);
    // The problems of the shown node, from the last check, and the marks
    // of those on the rows in sight.
    void markShownNode();
    void markVisibleRows();

    void SelectionChanged(TreeNode *node) override;
    // The tree's shape decides which files the page includes.
    void treeChanged()
    {
        treeChanged_ = true;
        changed();
    }
    void AfterInsert(TreeNode *) override { treeChanged(); }
    void AfterRemove() override { treeChanged(); }
    void AfterMove(TreeNode *) override { treeChanged(); }
    void NodeChanged(TreeNode *) override { treeChanged(); }
    void BeforeRemove(TreeNode *node) override;
    void BeforeClear() override;

    MainWindow &window_;
    QPlainTextEdit *editor_;
    PairMarks *pairMarks_;
    ProblemsPanel *panel_ = nullptr;
    QLabel *counts_ = nullptr;
    QTimer pause_;
    std::future<void> running_;
    bool again_ = false;  // a change came while a check ran
    // What the last check saw: showing another node rewrites the editor
    // but changes no text, and needs no check.
    std::uint64_t checkedRevisions_ = 0;
    bool treeChanged_ = true;
    struct Shown {
        Problem problem;
        ProblemPlace place;
    };
    std::vector<Shown> problems_;
    // The shown node's problems, by their bytes in its text.
    struct ShownPlace {
        std::size_t offset = 0, length = 0;
        bool error = true;
        QString message;
    };
    std::vector<ShownPlace> shownPlaces_;
    int markedText_ = -1;  // the editor's text revision they were placed in
    // The marks on the rows in sight, with their messages.
    struct Mark {
        QTextCursor cursor;
        QString message;
    };
    std::vector<Mark> marks_;
    bool panelClosedByUser_ = false;
    Times times_;
};

}  // namespace qasp::app
