// The one main window: project tree on the left, the editor on the
// right with the colour legend under it, menu bar, tool bar and status bar.
#pragma once

#include "app/action_table.h"
#include "app/qt_editor_surface.h"
#include "app/qt_prompter.h"
#include "project/command_dispatch.h"
#include "project/project_tree.h"
#include "project/window_surface.h"

#include <QMainWindow>
#include <QUrl>

#include <map>
#include <memory>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QTreeView;

namespace qasp {
class EditorKeys;
class KeywordStore;
class ProjectWorkspace;
}  // namespace qasp

namespace qasp::skin {
class SkinData;
}

namespace qasp::dialogs {
class ColourPicker;
class DirectoryDialog;
class HelpWindow;
}  // namespace qasp::dialogs

namespace qasp::app {

class CompletionPopup;
class NavigationController;
class EditorZoom;
class FindReplaceDialog;
class ProjectFileWatch;
class SettingsProjectMemory;
class PickerPanel;
class ProblemsController;
class SkinMenu;
class ProjectTreeModel;

class MainWindow : public QMainWindow, public WindowSurface, public CommandDialogs {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    QAction *action(ActionId id) const { return actions_.at(id); }
    KeywordStore &store() const { return *store_; }
    ProjectTree &tree() { return tree_; }
    ProjectWorkspace &workspace() const { return *workspace_; }
    ProjectTreeModel &treeModel() const { return *treeModel_; }
    NavigationController &navigation() const { return *navigation_; }
    ProblemsController &problems() const { return *problems_; }

    // WindowSurface
    QtEditorSurface &Memo() override;
    void SetActionEnabled(ActionId id, bool enabled) override;
    bool ActionEnabled(ActionId id) const override;
    void SetActionChecked(ActionId id, bool checked) override;
    bool ActionChecked(ActionId id) const override;
    void SetActionText(ActionId id, std::string_view text) override;
    void SetStatusText(int panel, std::string_view text) override;

    // CommandDialogs; tests answer in place of the user by overriding them.
    std::optional<std::string> ChooseFileToOpen() override;
    std::optional<std::string> ChooseFileToSave() override;
    std::optional<std::string> ChooseDirectory() override;
    void ShowHelp() override;
    void CloseWindow() override;
    void SetColourPicking(bool on) override;
    std::string PickerCaption() const override;
    void ExpandNode(TreeNode *node) override;
    void ShowFindReplace(bool replace) override;
    bool CutEditorSelection() override;
    void CopyEditorSelection() override;

    // Questions and messages go to `prompter` instead of message boxes.
    void usePrompter(Prompter *prompter) { prompter_.SetTarget(prompter ? prompter : &qtPrompter_); }
    // The dialogs are made when first used: the folder chooser's model
    // alone reads every folder down to the home folder.
    dialogs::DirectoryDialog *directoryDialog();
    dialogs::HelpWindow *helpWindow();
    FindReplaceDialog *findReplaceDialog();
    // Whether the folder chooser has been made yet.
    bool hasDirectoryDialog() const { return directoryDialog_ != nullptr; }
    dialogs::ColourPicker *colourPicker() const { return colourPicker_; }
    // True when the store file could not be used and an in-memory store
    // with the built-in vocabulary stands in for it.
    bool storeIsFallback() const { return storeIsFallback_; }
    // True when the store file is used but cannot be written: its
    // vocabulary is read as it is; the project's names work as ever.
    bool storeIsReadOnly() const;

    // Opens a project as Action_OPEN does once its file is chosen; errors
    // are reported in the error box. Returns success.
    bool openProjectFile(const QString &path);
    // Wears a skin file as choosing it in the 皮肤 menu does: a file that is
    // not a usable skin is refused with a message, and the skin in use stays.
    bool useSkinFile(const QString &path);
    // Opens the window at about four fifths of the screen, centred; with
    // `remembered`, where the user last left it if that is on a screen.
    void placeOnScreen(bool remembered);
    // What the 测试 button opens: the address box joined with the selected
    // page's path below the site root.
    QUrl testPageAddress() const;
    EditorZoom &editorZoom() const { return *zoom_; }
    // 选项: asks, writes the settings file, applies them.
    void showOptions();
    // The settings file's options on the editor, the colours and the
    // workspace.
    void applyOptions();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createBars();
    void createClientArea();
    void createStatusBar();

    void connectProject();
    void initialiseEditing();
    void openStore();
    void closeStore();
    void previewKey(QChar key);
    // The editor's own key handling, before the editor sees the key.
    bool editorKeyPress(QKeyEvent *event);
    void layOutColourLegend();
    void showEditorMenu(const QPoint &at);
    // The root page's path, "*" while changes are unsaved, the store's state.
    void refreshTitle();
    void openTestPage();
    void openFileAskingFirst(const QString &path);
    void addRecentFilesMenu();
    // Makes the window active again once a box or dialog of ours has closed
    // and left no window of the program active.
    void reclaimActivation();
    void addViewMenu();
    // 工具: 转换站点编码.
    void addToolsMenu();
    void convertSiteEncoding();

    // The window's widgets. Each one's object name is its member's name
    // without the underscore (the status panels are statusPanel0 to
    // statusPanel2); the tests find them by it.
    QMenuBar *menuBar_ = nullptr;
    QToolBar *toolBar_ = nullptr;
    QFrame *clientFrame_ = nullptr;  // the sunken frame around the splitter
    QSplitter *splitter_ = nullptr;
    QWidget *treePane_ = nullptr;  // left: the project tree over the address bar
    QTreeView *projectTree_ = nullptr;
    QWidget *addressBar_ = nullptr;
    QLineEdit *urlEdit_ = nullptr;       // the site's address
    QPushButton *testButton_ = nullptr;  // opens the address in the browser
    QWidget *editorPane_ = nullptr;      // right: the editor over the colour legend
    QPlainTextEdit *editor_ = nullptr;
    QWidget *colourLegend_ = nullptr;
    PickerPanel *pickerPanel_ = nullptr;     // the legend's colour swatch
    QListWidget *completionList_ = nullptr;  // floats over the editor
    QStatusBar *statusBar_ = nullptr;
    QLabel *statusPanels_[4] = {};
    QTimer *colourTimer_ = nullptr;  // the colour picker's tick
    skin::SkinData *skinData_ = nullptr;
    SkinMenu *skinMenu_ = nullptr;

    std::map<ActionId, QAction *> actions_;
    std::unique_ptr<KeywordStore> store_;
    std::unique_ptr<QtEditorSurface> editorSurface_;
    bool storeIsFallback_ = false;
    ProjectTree tree_;
    std::unique_ptr<ProjectTreeModel> treeModel_;
    std::unique_ptr<ProjectWorkspace> workspace_;
    QtPrompter qtPrompter_{this};
    SwitchablePrompter prompter_{&qtPrompter_};
    std::unique_ptr<CommandDispatcher> dispatcher_;
    std::unique_ptr<CompletionPopup> completionPopup_;
    std::unique_ptr<EditorKeys> keys_;
    ProjectFileWatch *fileWatch_ = nullptr;
    NavigationController *navigation_ = nullptr;
    ProblemsController *problems_ = nullptr;
    dialogs::DirectoryDialog *directoryDialog_ = nullptr;
    dialogs::HelpWindow *helpWindow_ = nullptr;
    FindReplaceDialog *findReplaceDialog_ = nullptr;
    dialogs::ColourPicker *colourPicker_ = nullptr;
    bool syncingSelection_ = false;
    std::unique_ptr<SettingsProjectMemory> projectMemory_;
    EditorZoom *zoom_ = nullptr;
    QString titleNote_;  // the store's state, after the caption
};

}  // namespace qasp::app
