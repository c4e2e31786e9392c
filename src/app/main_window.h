// TFAsp, the one main window: project tree on the left, the editor on the
// right with the colour legend under it, menu bar, tool bar and status bar.
#pragma once

#include "app/action_table.h"
#include "app/memo_editor.h"
#include "app/qt_prompter.h"
#include "project/command_dispatch.h"
#include "project/project_tree.h"
#include "project/window_surface.h"

#include <QMainWindow>

#include <map>
#include <memory>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
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
}

namespace qasp::skin {
class SkinData;
}

namespace qasp::dialogs {
class ColourPicker;
class TDLGDir;
class TFHelp;
}

namespace qasp::app {

class CompletionPopup;
class ProjectFileWatch;
class PickerPanel;
class SkinMenu;
class ProjectTreeModel;

class TFAsp : public QMainWindow, public WindowSurface, public CommandDialogs {
    Q_OBJECT
public:
    explicit TFAsp(QWidget *parent = nullptr);
    ~TFAsp() override;

    QAction *Action(ActionId id) const { return actions_.at(id); }
    KeywordStore &Store() const { return *store_; }
    ProjectTree &Tree() { return tree_; }
    ProjectWorkspace &Workspace() const { return *workspace_; }
    ProjectTreeModel &TreeModel() const { return *treeModel_; }

    // WindowSurface
    MemoEditor &Memo() override;
    void SetActionEnabled(ActionId id, bool enabled) override;
    bool ActionEnabled(ActionId id) const override;
    void SetActionChecked(ActionId id, bool checked) override;
    bool ActionChecked(ActionId id) const override;
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

    CommandDispatcher &Dispatcher() const { return *dispatcher_; }
    EditorKeys &Keys() const { return *keys_; }
    // Questions and messages go to `prompter` instead of message boxes.
    void UsePrompter(Prompter *prompter) { prompter_.SetTarget(prompter ? prompter : &qtPrompter_); }
    dialogs::TDLGDir *DirectoryDialog() const { return dlgDir_; }
    dialogs::TFHelp *HelpWindow() const { return help_; }
    ProjectFileWatch &FileWatch() const { return *fileWatch_; }
    dialogs::ColourPicker *Picker() const { return picker_; }
    // True when the store file could not be used and an in-memory store
    // with the built-in vocabulary stands in for it.
    bool StoreIsFallback() const { return storeIsFallback_; }
    // True when the store file is used but cannot be written: its
    // vocabulary is read as it is; the project's names work as ever.
    bool StoreIsReadOnly() const;

    // Opens a project as Action_OPEN does once its file is chosen; errors
    // are reported in the error box. Returns success.
    bool OpenProjectFile(const QString &path);

    // Components, by their names.
    QMenuBar *CMenu = nullptr;
    QToolBar *CToolBar = nullptr;
    QWidget *CPanel = nullptr;
    QWidget *Panel3 = nullptr;
    QTreeView *CTree = nullptr;
    QWidget *Panel4 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QSplitter *CSplitter = nullptr;
    QWidget *Panel1 = nullptr;
    QPlainTextEdit *CMemo = nullptr;
    QWidget *INFO_Color = nullptr;
    PickerPanel *Panel2 = nullptr;
    QListWidget *HList = nullptr;
    QStatusBar *CBottom = nullptr;
    QLabel *StatusPanels[3] = {};
    QTimer *Timer_GetColor = nullptr;
    skin::SkinData *SkinData1 = nullptr;
    SkinMenu *SkinMenu1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateBars();
    void CreateClientArea();
    void CreateStatusBar();

    void ConnectProject();
    void FormCreate();
    void OpenStore();
    void FormClose();
    void FormKeyPress(QChar key);
    // The editor's own key handling, before the editor sees the key.
    bool EditorKeyPress(QKeyEvent *event);
    void LayOutColourLegend();
    void ShowEditorMenu(const QPoint &at);

    std::map<ActionId, QAction *> actions_;
    std::unique_ptr<KeywordStore> store_;
    std::unique_ptr<MemoEditor> memo_;
    bool storeIsFallback_ = false;
    ProjectTree tree_;
    std::unique_ptr<ProjectTreeModel> treeModel_;
    std::unique_ptr<ProjectWorkspace> workspace_;
    QtPrompter qtPrompter_{this};
    SwitchablePrompter prompter_{&qtPrompter_};
    std::unique_ptr<CommandDispatcher> dispatcher_;
    std::unique_ptr<CompletionPopup> hlist_;
    std::unique_ptr<EditorKeys> keys_;
    ProjectFileWatch *fileWatch_ = nullptr;
    dialogs::TDLGDir *dlgDir_ = nullptr;
    dialogs::TFHelp *help_ = nullptr;
    dialogs::ColourPicker *picker_ = nullptr;
    bool syncingSelection_ = false;
};

}  // namespace qasp::app
