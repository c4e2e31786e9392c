// Finding one's way around the site from the editor: the file's line
// numbers beside it, 转到行, 转到定义 (F12, Ctrl+click) and 后退, the results
// of 在工程中查找 under it with F3 / Shift+F3 through them, and the hint of
// the name under the pointer.
#pragma once

#include "project/navigation_history.h"
#include "project/project_matches.h"
#include "project/project_tree.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace qasp {
class Prompter;
}

namespace qasp::app {

class LineNumberGutter;
class MainWindow;
class SearchResultsPanel;

class NavigationController : public QObject, public TreeObserver {
    Q_OBJECT
public:
    // `plainF3` is what F3 (false) and Shift+F3 (true) do while no results
    // list is shown: searching on for the last 查找 text.
    NavigationController(MainWindow &window, Prompter &prompter, std::function<void(bool)> plainF3);
    ~NavigationController() override;

    LineNumberGutter *gutter() const { return gutter_; }
    SearchResultsPanel *results() const { return results_; }
    QMenu *menu() const { return menu_; }

    // The commands, as their actions run them.
    void goToLine();
    void goToDefinition();
    void goBack();
    void findInProject();
    void stepResult(int step);
    void openResult(int row);

    // Shows `node` with bytes [offset, offset + length) selected; the place
    // left goes into the history when `remember`.
    void jumpTo(TreeNode *node, std::size_t offset, std::size_t length, bool remember);

    // The hint of the name at `position` of the editor (a character
    // position), UTF-8; empty when there is none.
    QString hintAt(int position) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(const char *name, const char *caption, const char *shortcut,
                        void (NavigationController::*run)());
    void placeWidgets();
    void refreshLineNumbers();

    void SelectionChanged(TreeNode *node) override;
    void BeforeRemove(TreeNode *node) override;
    void BeforeClear() override;

    MainWindow &window_;
    Prompter &prompter_;
    std::function<void(bool)> plainF3_;
    QPlainTextEdit *editor_;
    LineNumberGutter *gutter_ = nullptr;
    SearchResultsPanel *results_ = nullptr;
    QMenu *menu_ = nullptr;
    NavigationHistory history_;
    std::vector<ProjectMatch> matches_;
    std::string lastSearch_;
    int shownRows_ = -1;  // rows of the node the gutter numbers
};

}  // namespace qasp::app
