#include "app/problems_controller.h"

#include "app/error_box.h"
#include "app/main_window.h"
#include "app/navigation_controller.h"
#include "app/pair_marks.h"
#include "app/problems_panel.h"
#include "app/project_tree_model.h"
#include "app/search_results_panel.h"
#include "project/file_lines.h"
#include "project/workspace.h"

#include <QAction>
#include <QBoxLayout>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>
#include <QToolTip>

#include <limits>

namespace qasp::app {

ProblemsController::ProblemsController(MainWindow &window)
    : QObject(&window),
      window_(window),
      editor_(window.Memo().Widget()),
      pairMarks_(editor_->findChild<PairMarks *>())
{
    setObjectName("problemsController");
    window_.tree().AddObserver(this);

    // Under the search results, above the colour legend.
    SearchResultsPanel *results = window_.navigation().results();
    auto *paneLayout = qobject_cast<QBoxLayout *>(results->parentWidget()->layout());
    panel_ = new ProblemsPanel(results->parentWidget());
    paneLayout->insertWidget(paneLayout->indexOf(results) + 1, panel_);
    connect(panel_, &ProblemsPanel::rowActivated, this, [this](int row) { openProblem(row); });
    connect(panel_->findChild<QToolButton *>("problemsClose"), &QToolButton::clicked, this,
            [this] { panelClosedByUser_ = true; });

    counts_ = new QLabel(window_.statusBar());
    counts_->setObjectName("problemCounts");
    // As wide as its text: an empty one takes no room from a narrow window.
    counts_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    window_.statusBar()->addPermanentWidget(counts_);

    QMenu *menu = window_.navigation().menu();
    menu->addSeparator();
    auto addCommand = [&](const char *name, const QString &caption, const QString &shortcut,
                          const std::function<void()> &run) {
        auto *action = new QAction(caption, &window_);
        action->setObjectName(name);
        if (!shortcut.isEmpty())
            action->setShortcut(QKeySequence(shortcut));
        menu->addAction(action);
        connect(action, &QAction::triggered, this, [this, run] { Guarded(&window_, run); });
    };
    addCommand("Action_NextProblem", "下一个问题(&X)", "F8", [this] { stepProblem(1); });
    addCommand("Action_PreviousProblem", "上一个问题(&V)", "Shift+F8", [this] { stepProblem(-1); });
    addCommand("Action_ShowProblems", "问题列表(&R)", {}, [this] {
        panelClosedByUser_ = false;
        panel_->show();
    });

    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &ProblemsController::startCheck);
    // Scrolled rows are marked from the last check while the text is as
    // it was then; an edited text keeps its marks until the next check.
    connect(editor_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (editor_->document()->revision() == markedText_)
            markVisibleRows();
    });
    // A keystroke restarts the pause and does nothing else.
    connect(editor_, &QPlainTextEdit::textChanged, this, &ProblemsController::changed);
    // Before the navigation's filter, which shows the hints of names.
    editor_->viewport()->installEventFilter(this);
    changed();
}

ProblemsController::~ProblemsController()
{
    window_.tree().RemoveObserver(this);
    // The check reads only its own copy of the texts; it is let finish.
    if (running_.valid())
        running_.wait();
}

void ProblemsController::changed()
{
    pause_.start();
}

void ProblemsController::startCheck()
{
    QElapsedTimer clock;
    clock.start();
    const std::uint64_t at = TextRevisions(window_.tree());
    if (!treeChanged_ && at == checkedRevisions_)
        return;
    if (running_.valid()) {
        again_ = true;
        return;
    }
    again_ = false;
    treeChanged_ = false;
    checkedRevisions_ = at;
    auto input = std::make_shared<ProblemCheckInput>(
        ProblemCheckInputOf(window_.tree(), window_.workspace().SiteRoot));
    times_.copyMs = clock.elapsed();
    running_ = std::async(std::launch::async, [this, input, at] {
        QElapsedTimer checkClock;
        checkClock.start();
        auto check = std::make_shared<ProblemCheck>(CheckProblems(*input));
        const qint64 ms = checkClock.elapsed();
        // Back on the window's thread; the destructor waits for this
        // thread, and a deleted object's queued calls are dropped.
        QMetaObject::invokeMethod(
            this, [this, check, at, ms] { finished(std::move(*check), at, ms); }, Qt::QueuedConnection);
    });
}

void ProblemsController::finished(ProblemCheck check, std::uint64_t revisionsChecked, qint64 checkMs)
{
    running_ = {};
    times_.checkMs = checkMs;
    QElapsedTimer clock;
    clock.start();
    // Places found in texts the user has changed since would mark the
    // wrong words: the next pause brings a fresh check.
    if (again_ || revisionsChecked != TextRevisions(window_.tree())) {
        again_ = false;
        if (!pause_.isActive())
            startCheck();
        return;
    }
    const DocumentNodes nodes = DocumentNodesOf(window_.tree());
    problems_.clear();
    problems_.reserve(check.problems.size());
    QList<ProblemsPanel::Row> rows;
    std::unordered_map<const TreeNode *, int> errorCounts;
    for (Problem &problem : check.problems) {
        const ProblemPlace place = PlaceOf(nodes, problem);
        const bool error = problem.diagnostic.severity == vbs::Severity::Error;
        if (error && place.node)
            ++errorCounts[place.node];
        rows.append({error, QString::fromStdString(problem.shownFile),
                     static_cast<int>(problem.diagnostic.line), QString::fromStdString(problem.message),
                     QString::fromStdString(problem.code)});
        problems_.push_back({std::move(problem), place});
    }
    window_.treeModel().setErrorCounts(std::move(errorCounts));
    const TreeNode *root = window_.tree().FirstTopLevel();
    const bool page = root && root->Record() && !root->Record()->SourceFile.empty();
    QString summary;
    if (!check.failure.empty())
        summary = "无法检查：" + QString::fromStdString(check.failure);
    else if (page)
        summary = QString("错误 %1，警告 %2").arg(check.errors).arg(check.warnings);
    counts_->setText(page ? summary.left(40) : QString());
    counts_->setToolTip(summary);
    QPalette palette = counts_->palette();
    palette.setColor(QPalette::WindowText, check.errors ? ProblemColour(true) : QColor(Qt::black));
    counts_->setPalette(palette);
    panel_->setRows(rows.isEmpty() ? "问题：没有发现问题" : "问题：" + summary, rows);
    panel_->setVisible(page && !panelClosedByUser_);
    markShownNode();
    times_.showMs = clock.elapsed();
    if (qEnvironmentVariableIsSet("QASP_CHECK_TIMES"))
        qInfo("check: copy %lld ms, check %lld ms, show %lld ms, %zu problems", times_.copyMs, checkMs,
              times_.showMs, problems_.size());
}

void ProblemsController::markShownNode()
{
    shownPlaces_.clear();
    const TreeNode *shown = window_.tree().Selected();
    const TreeNode *document = shown ? FileDocumentOf(*shown) : nullptr;
    if (document) {
        const std::size_t begin = shown->Record() ? shown->Record()->Begin() : 0;
        const std::size_t size = shown->Text().size();
        // In file order, as the check lists them.
        for (const Shown &s : problems_) {
            if (s.place.node != document || s.place.offset < begin || s.place.offset - begin > size)
                continue;
            const std::size_t offset = s.place.offset - begin;
            shownPlaces_.push_back({offset, std::min(s.place.length, size - offset),
                                    s.problem.diagnostic.severity == vbs::Severity::Error,
                                    QString::fromStdString(s.problem.message) + "  ["
                                        + QString::fromStdString(s.problem.code) + "]"});
        }
    }
    markedText_ = editor_->document()->revision();
    markVisibleRows();
}

void ProblemsController::markVisibleRows()
{
    marks_.clear();
    QList<QTextEdit::ExtraSelection> underlines;
    QTextDocument *text = editor_->document();
    if (!shownPlaces_.empty()) {
        // Only the rows in sight and some around them: a mark's place is
        // laid out when it is set, and thousands would hold up the window.
        constexpr int kMarginRows = 100;
        QtEditorSurface &memo = window_.Memo();
        const int first = std::max(0, editor_->cursorForPosition(QPoint(0, 0)).blockNumber() - kMarginRows);
        const int last =
            editor_->cursorForPosition(QPoint(0, editor_->viewport()->height())).blockNumber() + kMarginRows;
        const std::size_t from = memo.LineIndex(first);
        const std::size_t to = last + 1 < text->blockCount() ? memo.LineIndex(last + 1)
                                                             : std::numeric_limits<std::size_t>::max();
        const int lastPosition = text->characterCount() - 1;
        auto at = std::lower_bound(shownPlaces_.begin(), shownPlaces_.end(), from,
                                   [](const ShownPlace &p, std::size_t offset) { return p.offset < offset; });
        for (; at != shownPlaces_.end() && at->offset < to; ++at) {
            int begin = memo.PositionOfByteOffset(at->offset);
            int end = memo.PositionOfByteOffset(at->offset + at->length);
            // A missing word marks the character it is missing before, or
            // the last one of the line.
            if (begin == end) {
                if (begin < lastPosition && text->characterAt(begin) != QChar::ParagraphSeparator)
                    ++end;
                else if (begin > 0)
                    --begin;
            }
            QTextEdit::ExtraSelection underline;
            underline.cursor = QTextCursor(text);
            underline.cursor.setPosition(begin);
            underline.cursor.setPosition(end, QTextCursor::KeepAnchor);
            underline.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            underline.format.setUnderlineColor(ProblemColour(at->error));
            // A small font's descent may leave no room for the wave under
            // the line: a tint of the same colour marks the words anyway.
            underline.format.setBackground(ProblemTint(at->error));
            underlines.append(underline);
            marks_.push_back({underline.cursor, at->message});
        }
    }
    if (pairMarks_)
        pairMarks_->setLastingMarks(underlines);
}

QString ProblemsController::messageAt(int position) const
{
    QStringList messages;
    for (const Mark &mark : marks_)
        if (mark.cursor.selectionStart() <= position && position < mark.cursor.selectionEnd())
            messages.append(mark.message);
    return messages.join('\n');
}

void ProblemsController::stepProblem(int step)
{
    const int count = static_cast<int>(problems_.size());
    if (count == 0) {
        window_.SetStatusText(2, "没有问题");
        return;
    }
    const int row = panel_->currentRow();
    const int next = row < 0 ? (step > 0 ? 0 : count - 1) : (row + step + count) % count;
    if (!panelClosedByUser_)
        panel_->show();
    openProblem(next);
}

void ProblemsController::openProblem(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= problems_.size())
        return;
    panel_->setCurrentRow(row);
    const ProblemPlace &place = problems_[static_cast<std::size_t>(row)].place;
    if (!place.node)
        return;
    // A procedure shown that holds the place keeps the view; any other
    // place is shown in its file's document.
    TreeNode *node = place.node;
    std::size_t offset = place.offset;
    TreeNode *shown = window_.tree().Selected();
    if (shown && shown != node && FileDocumentOf(*shown) == node && shown->Record()) {
        const std::size_t begin = shown->Record()->Begin();
        if (offset >= begin && offset + place.length <= begin + shown->Text().size()) {
            node = shown;
            offset -= begin;
        }
    }
    Guarded(&window_, [&] { window_.navigation().jumpTo(node, offset, place.length, true); });
}

void ProblemsController::SelectionChanged(TreeNode *)
{
    // The editor holds the node's text once every observer has run.
    QTimer::singleShot(0, this, [this] { markShownNode(); });
}

void ProblemsController::BeforeRemove(TreeNode *node)
{
    for (Shown &s : problems_)
        if (s.place.node && s.place.node->IsInside(node))
            s.place.node = nullptr;
    treeChanged();
}

void ProblemsController::BeforeClear()
{
    treeChanged_ = true;
    problems_.clear();
    shownPlaces_.clear();
    marks_.clear();
    if (pairMarks_)
        pairMarks_->setLastingMarks({});
    changed();
}

bool ProblemsController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor_->viewport() && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QTextCursor nearest = editor_->cursorForPosition(help->pos());
        int position = nearest.position();
        if (editor_->cursorRect(nearest).left() > help->pos().x() && nearest.positionInBlock() > 0)
            --position;
        const QString message = messageAt(position);
        if (!message.isEmpty()) {
            QToolTip::showText(help->globalPos(), message, editor_->viewport());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qasp::app
