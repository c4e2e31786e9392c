#include "app/navigation_controller.h"

#include "app/error_box.h"
#include "app/line_number_gutter.h"
#include "app/main_window.h"
#include "app/search_results_panel.h"
#include "editor/keyword_store.h"
#include "editor/name_hint.h"
#include "project/declaration_lookup.h"
#include "project/file_lines.h"
#include "project/prompter.h"
#include "project/workspace.h"
#include "text/gbk_codec.h"

#include <QAction>
#include <QBoxLayout>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolTip>

namespace qasp::app {
namespace {

bool IsUtf8(const TreeNode *node)
{
    return node && node->Encoding() == TextEncoding::Utf8;
}

}  // namespace

NavigationController::NavigationController(MainWindow &window, Prompter &prompter,
                                           std::function<void(bool)> plainF3)
    : QObject(&window),
      window_(window),
      prompter_(prompter),
      plainF3_(std::move(plainF3)),
      editor_(window.Memo().Widget()),
      history_(window.tree())
{
    setObjectName("navigation");
    window_.tree().AddObserver(this);
    placeWidgets();

    menu_ = new QMenu("导航(&G)", &window_);
    menu_->setObjectName("navigationMenu");
    addCommand("Action_GoToLine", "转到行(&G)...", "Ctrl+G", &NavigationController::goToLine);
    addCommand("Action_GoToDefinition", "转到定义(&D)", "F12", &NavigationController::goToDefinition);
    addCommand("Action_GoBack", "后退(&B)", "Alt+Left", &NavigationController::goBack);
    menu_->addSeparator();
    addCommand("Action_FindInProject", "在工程中查找(&F)...", "Ctrl+Shift+F",
               &NavigationController::findInProject);
    addCommand("Action_FindNext", "查找下一个(&N)", "F3", nullptr);
    addCommand("Action_FindPrevious", "查找上一个(&P)", "Shift+F3", nullptr);
    QMenuBar *bar = window_.menuBar();
    // After 文件 and 编辑.
    bar->insertMenu(bar->actions().value(2), menu_);

    editor_->viewport()->installEventFilter(this);
    // Line numbers change with the rows; a node's load writes the editor in
    // many steps, so they are counted once it is done.
    auto *recount = new QTimer(this);
    recount->setSingleShot(true);
    recount->setInterval(0);
    connect(recount, &QTimer::timeout, this, [this] { refreshLineNumbers(); });
    connect(editor_, &QPlainTextEdit::textChanged, this, [this, recount] {
        if (editor_->blockCount() != shownRows_)
            recount->start();
    });
    connect(results_, &SearchResultsPanel::rowActivated, this, [this](int row) { openResult(row); });
    refreshLineNumbers();
}

NavigationController::~NavigationController()
{
    window_.tree().RemoveObserver(this);
}

QAction *NavigationController::addCommand(const char *name, const char *caption, const char *shortcut,
                                          void (NavigationController::*run)())
{
    auto *action = new QAction(QString::fromUtf8(caption), &window_);
    action->setObjectName(name);
    action->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
    menu_->addAction(action);
    connect(action, &QAction::triggered, this, [this, run, name = std::string(name)] {
        Guarded(&window_, [&] {
            if (run)
                (this->*run)();
            else
                stepResult(name == "Action_FindNext" ? 1 : -1);
        });
    });
    return action;
}

void NavigationController::placeWidgets()
{
    // The editor moves into a row beside its gutter; the results list goes
    // under that row, above the colour legend.
    QWidget *pane = editor_->parentWidget();
    auto *paneLayout = qobject_cast<QBoxLayout *>(pane->layout());
    const int index = paneLayout->indexOf(editor_);
    auto *row = new QWidget(pane);
    row->setObjectName("editorRow");
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(0);
    gutter_ = new LineNumberGutter(editor_, row);
    paneLayout->removeWidget(editor_);
    rowLayout->addWidget(gutter_);
    rowLayout->addWidget(editor_, 1);
    paneLayout->insertWidget(index, row, 1);
    results_ = new SearchResultsPanel(pane);
    paneLayout->insertWidget(index + 1, results_);
    // The completion list floats over the editor, above the new row.
    if (auto *list = pane->findChild<QWidget *>("completionList", Qt::FindDirectChildrenOnly))
        list->raise();
}

void NavigationController::refreshLineNumbers()
{
    const TreeNode *node = window_.tree().Selected();
    gutter_->setFirstLineNumber(node ? FirstFileLineOf(*node) : 1);
    shownRows_ = editor_->blockCount();
}

void NavigationController::SelectionChanged(TreeNode *)
{
    refreshLineNumbers();
}

void NavigationController::BeforeRemove(TreeNode *node)
{
    // A listed match in a deleted node leads nowhere.
    for (ProjectMatch &match : matches_)
        if (match.node && match.node->IsInside(node))
            match.node = nullptr;
}

void NavigationController::BeforeClear()
{
    matches_.clear();
    results_->hide();
}

void NavigationController::jumpTo(TreeNode *node, std::size_t offset, std::size_t length, bool remember)
{
    ProjectWorkspace &ws = window_.workspace();
    QtEditorSurface &memo = window_.Memo();
    TreeNode *current = ws.Tree().Selected();
    if (remember && current)
        history_.Push({current, memo.SelectionStart()});
    ws.EndUndoStep();
    if (node != current)
        ws.SelectNode(node);
    if (ws.Tree().Selected() != node)
        return;
    // The node may have been edited since the place was taken.
    const std::size_t size = node->Text().size();
    offset = std::min(offset, size);
    length = std::min(length, size - offset);
    memo.SetSelection(offset, length);
    editor_->ensureCursorVisible();
    editor_->setFocus();
}

void NavigationController::goToLine()
{
    TreeNode *node = window_.tree().Selected();
    const TreeNode *document = node ? FileDocumentOf(*node) : nullptr;
    if (!document)
        return;
    QtEditorSurface &memo = window_.Memo();
    const int row = memo.LineFromChar(memo.SelectionStart());
    const int current = FilePositionOf(*node, row, {}, 0).line;
    const int count = FileLineCount(*document);
    const std::string answer =
        prompter_.InputBox("转到行", "行号（1 - " + std::to_string(count) + "）：", std::to_string(current));
    bool ok = false;
    const int line = QString::fromStdString(answer).trimmed().toInt(&ok);
    if (!ok || line < 1 || line > count) {
        prompter_.Information("行号应为 1 到 " + std::to_string(count) + " 之间的整数。");
        return;
    }
    // A line of the procedure shown stays in its view; any other goes to
    // the file's document, which shows every line.
    NodeRow place = NodeRowOfFileLine(*document, line);
    const int first = FirstFileLineOf(*node);
    if (!node->IsDocument() && line >= first && line - first < memo.LineFromChar(node->Text().size()) + 1)
        place = {node, line - first};
    if (!place.node)
        return;
    auto *target = const_cast<TreeNode *>(place.node);
    jumpTo(target, 0, 0, true);
    if (window_.tree().Selected() != target)
        return;
    memo.SetSelection(memo.LineIndex(place.row), memo.LineText(place.row).size());
    editor_->ensureCursorVisible();
}

void NavigationController::goToDefinition()
{
    TreeNode *node = window_.tree().Selected();
    if (!node)
        return;
    QtEditorSurface &memo = window_.Memo();
    const std::size_t caret = memo.SelectionStart();
    const int row = memo.LineFromChar(caret);
    const std::string line = memo.LineText(row);
    const std::size_t column = caret - memo.LineIndex(row);
    ProjectTree &tree = window_.tree();
    if (TreeNode *included = IncludedDocumentAt(tree, *node, line, column)) {
        jumpTo(included, 0, 0, true);
        return;
    }
    const NameBounds bounds = NameAt(line, column);
    if (bounds.begin == bounds.end)
        return;
    const std::string name = line.substr(bounds.begin, bounds.end - bounds.begin);
    if (const std::optional<NodePlace> place = FindDeclaration(tree, *node, name)) {
        jumpTo(place->node, place->offset, place->length, true);
        return;
    }
    const std::string shown = IsUtf8(node) ? name : GbkToUtf8(name);
    window_.SetStatusText(2, "未找到 " + shown + " 的定义");
}

void NavigationController::goBack()
{
    if (const std::optional<HistoryPlace> place = history_.Back())
        jumpTo(place->node, place->offset, 0, false);
}

void NavigationController::findInProject()
{
    const std::string text = prompter_.InputBox("在工程中查找", "查找内容：", lastSearch_);
    if (text.empty())
        return;
    lastSearch_ = text;
    matches_ = FindAllInProject(window_.tree(), text);
    if (matches_.empty()) {
        results_->hide();
        prompter_.Information("全部文档中没有找到[" + text + "]这个字符串!");
        return;
    }
    QList<SearchResultsPanel::Row> rows;
    rows.reserve(static_cast<qsizetype>(matches_.size()));
    for (const ProjectMatch &match : matches_)
        rows.append({QString::fromStdString(GbkToUtf8(match.document)), match.fileLine,
                     QString::fromStdString(match.lineText)});
    results_->showResults(
        QString("“%1”：%2 处").arg(QString::fromStdString(text)).arg(static_cast<qsizetype>(matches_.size())),
        rows);
}

void NavigationController::stepResult(int step)
{
    if (!results_->isVisible() || matches_.empty()) {
        if (plainF3_)
            plainF3_(step < 0);
        return;
    }
    const int count = static_cast<int>(matches_.size());
    const int row = results_->currentRow();
    const int next = row < 0 ? (step > 0 ? 0 : count - 1) : (row + step + count) % count;
    results_->setCurrentRow(next);
    openResult(next);
}

void NavigationController::openResult(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= matches_.size())
        return;
    results_->setCurrentRow(row);
    const ProjectMatch &match = matches_[static_cast<std::size_t>(row)];
    if (match.node)
        Guarded(&window_, [&] { jumpTo(match.node, match.offset, match.length, true); });
}

QString NavigationController::hintAt(int position) const
{
    const TreeNode *node = window_.tree().Selected();
    if (!node)
        return {};
    QtEditorSurface &memo = window_.Memo();
    const std::size_t offset = memo.ByteOffsetOf(position);
    const int row = memo.LineFromChar(offset);
    const std::string line = memo.LineText(row);
    const std::size_t column = offset - memo.LineIndex(row);
    const NameBounds bounds = NameAt(line, column);
    // Only a pointer on the name itself, not just past its end.
    if (bounds.begin == bounds.end || column >= bounds.end)
        return {};
    std::string name = line.substr(bounds.begin, bounds.end - bounds.begin);
    if (IsUtf8(node))
        name = Utf8ToGbk(name);
    return QString::fromStdString(GbkToUtf8(HintOfName(window_.store().Snapshot(), name)));
}

bool NavigationController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != editor_->viewport())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        // The nearest caret place may lie after the character under the
        // pointer: the hint is of that character's name.
        const QTextCursor nearest = editor_->cursorForPosition(help->pos());
        int position = nearest.position();
        if (editor_->cursorRect(nearest).left() > help->pos().x() && nearest.positionInBlock() > 0)
            --position;
        const QString hint = hintAt(position);
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, editor_->viewport());
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() & Qt::ControlModifier) {
            editor_->setTextCursor(editor_->cursorForPosition(mouse->position().toPoint()));
            Guarded(&window_, [&] { goToDefinition(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qasp::app
