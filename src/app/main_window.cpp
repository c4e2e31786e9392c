#include "app/main_window.h"

#include "app/app_info.h"
#include "app/builtin_skin.h"
#include "app/skin_menu.h"
#include "app/error_box.h"
#include "app/find_replace_dialog.h"
#include "app/icons.h"
#include "app/options_dialog.h"
#include "app/page_address.h"
#include "app/path_text.h"
#include "app/recent_files_menu.h"
#include "app/settings_project_memory.h"
#include "app/interface_font.h"
#include "app/legend_label.h"
#include "app/navigation_controller.h"
#include "app/problems_controller.h"
#include "app/page_highlighter.h"
#include "app/qt_editor_surface.h"
#include "app/completion_popup.h"
#include "app/editor_options.h"
#include "app/editor_zoom.h"
#include "app/file_drop.h"
#include "app/gbk_qstring.h"
#include "app/pair_marks.h"
#include "app/picker_panel.h"
#include "app/project_file_watch.h"
#include "app/project_tree_model.h"
#include "app/qt_prompter.h"
#include "app/store_location.h"
#include "app/tree_expansion.h"
#include "app/unattended_run.h"
#include "app/window_placement.h"
#include "dialogs/colour_picker.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "dialogs/site_conversion_dialog.h"
#include "skin/data/skin_data.h"
#include "skin/windows/skin_manager.h"
#include "editor/colour_table.h"
#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "project/editor_keys.h"
#include "project/include_path.h"
#include "project/procedure_rename.h"
#include "project/project_commands.h"
#include "project/workspace.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include "app/app_settings.h"
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace qasp::app {
namespace {

// The action bars' highlight and empty-area colour.
const QColor kBarColour(247, 246, 238);

QColor ToQColor(ColourValue c)
{
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

// The legend's seven labels in the scheme's colours, in the legend's order
// (the picker beside them is no legend label).
void ColourLegend(QWidget *legend, const ColourScheme &scheme)
{
    size_t i = 0;
    for (auto *label : legend->findChildren<LegendLabel *>(Qt::FindDirectChildrenOnly))
        label->setCategoryColour(ToQColor(scheme.Of(static_cast<ColourCategory>(i++))));
}

// A bar's own face of an action: its caption and image may differ from the
// action's, everything else follows the action.
QAction *BarFace(QAction *action, const BarItem &item, QObject *owner)
{
    if (!item.caption && item.image == kKeepImage)
        return action;
    auto *face = new QAction(owner);
    face->setText(item.caption ? QString::fromUtf8(item.caption) : action->text());
    face->setIcon(item.image == kKeepImage ? action->icon() : CicoIcon(item.image));
    face->setToolTip(action->toolTip());
    face->setCheckable(action->isCheckable());
    const auto follow = [face, action] {
        face->setEnabled(action->isEnabled());
        face->setChecked(action->isChecked());
    };
    follow();
    QObject::connect(action, &QAction::changed, face, follow);
    QObject::connect(face, &QAction::triggered, action, [action, follow] {
        action->trigger();
        follow();
    });
    return face;
}

// A menu's own face of an action shows the action's shortcut; the face
// takes the keys only while its menu has the focus, so the two never compete.
QAction *ShortcutShown(QAction *face, QAction *action)
{
    if (face != action && !action->shortcuts().isEmpty()) {
        face->setShortcuts(action->shortcuts());
        face->setShortcutContext(Qt::WidgetShortcut);
    }
    return face;
}

// Alt (without the Ctrl that AltGr may bring along) with a key that would
// type a character.
bool IsStrayAltKey(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers mods = key.modifiers();
    return mods & Qt::AltModifier && !(mods & Qt::ControlModifier) && !key.text().isEmpty()
           && key.text().at(0).isPrint();
}

}  // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName("mainWindow");
    // The skin is read with the window: its model is ready before the
    // window is laid out, and it registers for skinning once it is.
    skin::InstallSkinManager();
    skinData_ = new skin::SkinData(this);
    skinData_->setObjectName("skinData");
    skinData_->ShowMessage = [this](const std::string &m) {
        if (IsUnattendedRun())
            WriteBoxToStderr(QString::fromStdString(m));
        else
            QMessageBox::information(this, ApplicationTitle(), QString::fromStdString(m).replace('\r', '\n'));
    };
    skinData_->SetSkinStream(BuiltinSkinStream());
    skinData_->SetActive(true);
    setWindowTitle(MainWindowCaption());
    setFont(InterfaceFont());
    setGeometry(265, 147, 698, 539);

    projectMemory_ = std::make_unique<SettingsProjectMemory>();
    createActions();
    createBars();
    createClientArea();
    createStatusBar();

    colourTimer_ = new QTimer(this);
    colourTimer_->setObjectName("colourTimer");
    colourTimer_->setInterval(100);

    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);

    initialiseEditing();
    connectProject();

    skinData_->Loaded(this);

    colourPicker_ = new dialogs::ColourPicker(colourTimer_, pickerPanel_, this);
    connect(colourPicker_, &dialogs::ColourPicker::unavailable, this,
            [this](const QString &message) { statusPanels_[2]->setText(message); });
    connect(pickerPanel_, &PickerPanel::doubleClicked, this,
            [this] { Guarded(this, [&] { dispatcher_->Panel2DoubleClick(); }); });

    setAcceptDrops(true);  // a page dropped anywhere on the window opens
    new FileDrop(this, [this](const QString &page) { openFileAskingFirst(page); });
    addRecentFilesMenu();
    addViewMenu();
    addToolsMenu();
    applyOptions();
    refreshTitle();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // The view, the navigation and the workspace observe the tree: they go first.
    delete problems_;
    problems_ = nullptr;
    delete navigation_;
    navigation_ = nullptr;
    projectTree_->setModel(nullptr);
    treeModel_.reset();
    delete fileWatch_;  // it reads the workspace
    fileWatch_ = nullptr;
    workspace_.reset();
}

void MainWindow::connectProject()
{
    treeModel_ = std::make_unique<ProjectTreeModel>(tree_);
    workspace_ = std::make_unique<ProjectWorkspace>(tree_, *store_, *this);
    dispatcher_ = std::make_unique<CommandDispatcher>(*workspace_, prompter_, *this);
    // Runs that end by themselves leave the user's recent files alone.
    if (!IsUnattendedRun())
        dispatcher_->SetProjectMemory(projectMemory_.get());
    completionPopup_ = std::make_unique<CompletionPopup>(completionList_, editor_);
    keys_ = std::make_unique<EditorKeys>(*workspace_, *completionPopup_, prompter_);
    fileWatch_ = new ProjectFileWatch(*workspace_, prompter_, this);
    // A reload reads the tree anew: the nodes the user had open open again.
    auto expansion = std::make_shared<TreeExpansion>();
    connect(fileWatch_, &ProjectFileWatch::checking, this,
            [this, expansion] { *expansion = TreeExpansion::Of(*projectTree_, *treeModel_, tree_); });
    connect(fileWatch_, &ProjectFileWatch::checked, this, [this, expansion] {
        expansion->RestoreIn(*projectTree_, *treeModel_, tree_);
        refreshTitle();
    });
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { Guarded(this, [&] { keys_->CMemoSelectionChange(); }); });
    projectTree_->setModel(treeModel_.get());
    // A document's label is renamed once the label's editor is gone (the
    // model lets no procedure's label be edited: its calls would not follow).
    treeModel_->renamer = [this](TreeNode *node, const std::string &label) {
        QTimer::singleShot(0, this, [this, node, label] {
            bool inTree = false;  // a node deleted meanwhile is not touched
            for (TreeNode *n = tree_.FirstTopLevel(); n && !inTree; n = tree_.NextInPreOrder(n))
                inTree = n == node;
            if (!inTree)
                return;
            Guarded(this, [&] {
                if (const std::optional<std::string> refused = RenameProcedure(*workspace_, node, label))
                    prompter_.Information(*refused);
            });
            refreshTitle();
        });
    };

    // The user moves the selection: the workspace loads the node, then the
    // tree records the selection.
    connect(projectTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                TreeNode *node = ProjectTreeModel::nodeOf(current);
                if (syncingSelection_ || node == tree_.Selected())
                    return;
                Guarded(this, [&] { workspace_->SelectNode(node); });
            });
    // The program moves the selection: the view follows.
    connect(treeModel_.get(), &ProjectTreeModel::selectedNodeChanged, this, [this](const QModelIndex &index) {
        syncingSelection_ = true;
        projectTree_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        syncingSelection_ = false;
        // The caret's place shows from the start, not from its first move.
        Guarded(this, [&] { keys_->CMemoSelectionChange(); });
    });
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
        workspace_->CMemoChange();
        // Only the first edit after a save changes the title: a keystroke
        // does not rebuild it.
        if (workspace_->Modified != isWindowModified())
            refreshTitle();
    });
    // Tree edits (a rename, a drag) change the project too.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(treeModel_.get(), signal, this, &MainWindow::refreshTitle);
    connect(treeModel_.get(), &QAbstractItemModel::dataChanged, this, &MainWindow::refreshTitle);
    // Made after the workspace, so that it sees a node's text once the node has it.
    navigation_ = new NavigationController(*this, prompter_, [this](bool shift) {
        if (keys_)
            keys_->CMemoKeyDown(EditorKey::F3, shift);
    });
    // After the navigation: it builds on its panel, menu and jumps.
    problems_ = new ProblemsController(*this);
}

QtEditorSurface &MainWindow::Memo()
{
    return *editorSurface_;
}

void MainWindow::SetActionEnabled(ActionId id, bool enabled)
{
    action(id)->setEnabled(enabled);
}

bool MainWindow::ActionEnabled(ActionId id) const
{
    return action(id)->isEnabled();
}

void MainWindow::SetActionChecked(ActionId id, bool checked)
{
    action(id)->setChecked(checked);
}

bool MainWindow::ActionChecked(ActionId id) const
{
    return action(id)->isChecked();
}

void MainWindow::SetActionText(ActionId id, std::string_view text)
{
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (action(id)->text() != shown)
        action(id)->setText(shown);
}

void MainWindow::SetStatusText(int panel, std::string_view text)
{
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    statusPanels_[panel]->setText(shown);
    // A panel is narrower than some texts: the whole one shows on hover.
    statusPanels_[panel]->setToolTip(shown);
}

void MainWindow::createActions()
{
    for (const ActionDef &def : ActionDefinitions()) {
        auto *a = new QAction(QString::fromUtf8(def.caption), this);
        a->setObjectName(def.name);
        a->setProperty("category", QString::fromUtf8(def.category));
        if (*def.hint)
            a->setToolTip(QString::fromUtf8(def.hint));
        a->setIcon(CicoIcon(def.image));
        a->setEnabled(def.enabled);
        a->setCheckable(def.checkable);
        a->setChecked(def.checked);
        if (def.shortcuts)
            a->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(def.shortcuts)));
        // Its shortcut works wherever the focus is in the window, whether or
        // not a bar shows the action itself.
        addAction(a);
        actions_[def.id] = a;
    }
    // Every command reaches Action_Do; a checkable one has flipped its check
    // mark by then.
    for (const ActionDef &def : ActionDefinitions())
        connect(action(def.id), &QAction::triggered, this, [this, id = def.id] {
            Guarded(this, [&] { dispatcher_->Action_Do(id); });
            // A command may have loaded, saved or dropped files.
            fileWatch_->rewatch();
            refreshTitle();
        });
}

void MainWindow::createBars()
{
    const QString barStyle = QString("background-color: %1;").arg(kBarColour.name());

    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("menuBar");
    menuBar_->setFixedHeight(23);
    menuBar_->setStyleSheet("QMenuBar { " + barStyle + " }");
    for (const MenuDef &menuDef : MenuBarLayout()) {
        QMenu *menu = menuBar_->addMenu(QString::fromUtf8(menuDef.title));
        for (const BarItem &item : menuDef.items) {
            if (item.image == kSeparator)
                menu->addSeparator();
            else
                menu->addAction(ShortcutShown(BarFace(action(item.id), item, menu), action(item.id)));
        }
    }
    // The skin menu goes before 帮助.
    skinMenu_ = new SkinMenu(skinData_, this);
    menuBar_->insertMenu(menuBar_->actions().constLast(), skinMenu_);
    setMenuBar(menuBar_);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("toolBar");
    toolBar_->setFixedHeight(26);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar_->setStyleSheet("QToolBar { " + barStyle + " border: none; spacing: 0px; }");
    for (const BarItem &item : ToolBarLayout()) {
        QAction *face = BarFace(action(item.id), item, toolBar_);
        // A tool button shows its caption without the mnemonic: Alt with
        // the marked letter is given to it here.
        if (item.caption)
            face->setShortcut(QKeySequence::mnemonic(QString::fromUtf8(item.caption)));
        toolBar_->addAction(face);
    }
    // The tool bar is an ordinary control under the menu, of fixed height,
    // not a dockable bar of the window's tool bar area.
}

void MainWindow::createClientArea()
{
    clientFrame_ = new QFrame(this);
    clientFrame_->setObjectName("clientFrame");
    clientFrame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *frameLayout = new QHBoxLayout(clientFrame_);
    frameLayout->setContentsMargins(1, 1, 1, 1);

    splitter_ = new QSplitter(Qt::Horizontal, clientFrame_);
    splitter_->setObjectName("splitter");
    splitter_->setHandleWidth(5);
    splitter_->setChildrenCollapsible(false);
    frameLayout->addWidget(splitter_);

    // Left: the project tree over the address bar: the site's address and
    // its test button.
    treePane_ = new QWidget(splitter_);
    treePane_->setObjectName("treePane");
    auto *left = new QVBoxLayout(treePane_);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    projectTree_ = new QTreeView(treePane_);
    projectTree_->setObjectName("projectTree");
    projectTree_->setHeaderHidden(true);
    projectTree_->setIndentation(19);
    projectTree_->setIconSize(QSize(16, 16));
    // F2 renames; a click on the selected node only selects it.
    projectTree_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    left->addWidget(projectTree_);
    addressBar_ = new QWidget(treePane_);
    addressBar_->setObjectName("addressBar");
    addressBar_->setFixedHeight(25);
    urlEdit_ = new QLineEdit("http://127.0.0.1:8010/", addressBar_);
    urlEdit_->setObjectName("urlEdit");
    urlEdit_->setGeometry(0, 3, 161, 20);
    testButton_ = new QPushButton("测试", addressBar_);
    testButton_->setObjectName("testButton");
    testButton_->setGeometry(160, 3, 45, 20);
    connect(testButton_, &QPushButton::clicked, this, &MainWindow::openTestPage);
    left->addWidget(addressBar_);

    // Right: the editor over the legend; the completion list floats over it.
    editorPane_ = new QWidget(splitter_);
    editorPane_->setObjectName("editorPane");
    auto *right = new QVBoxLayout(editorPane_);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    editor_ = new QPlainTextEdit(editorPane_);
    editor_->setObjectName("editor");
    editor_->setFont(InterfaceFont());
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setTabChangesFocus(false);
    right->addWidget(editor_);
    editorSurface_ = std::make_unique<QtEditorSurface>(editor_);
    new PairMarks(editor_);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor_, &QWidget::customContextMenuRequested, this, &MainWindow::showEditorMenu);

    colourLegend_ = new QWidget(editorPane_);
    colourLegend_->setObjectName("colourLegend");
    colourLegend_->setFixedHeight(25);
    // The legend's labels are placed by hand; the layout only keeps the
    // picker panel at the right-hand edge.
    auto *legendLayout = new QHBoxLayout(colourLegend_);
    legendLayout->setContentsMargins(0, 0, 0, 0);
    legendLayout->addStretch(1);
    pickerPanel_ = new PickerPanel(colourLegend_);
    pickerPanel_->setObjectName("pickerPanel");
    pickerPanel_->setText("取色");
    pickerPanel_->setFixedWidth(63);
    legendLayout->addWidget(pickerPanel_);
    right->addWidget(colourLegend_);

    completionList_ = new QListWidget(editorPane_);
    completionList_->setObjectName("completionList");
    completionList_->setGeometry(201, 72, 137, 177);
    completionList_->setFrameShape(QFrame::NoFrame);
    completionList_->setIconSize(QSize(18, 12));
    completionList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    completionList_->setBackgroundRole(QPalette::ToolTipBase);
    completionList_->setAutoFillBackground(true);
    QPalette tipPalette = completionList_->palette();
    tipPalette.setColor(QPalette::Base, tipPalette.color(QPalette::ToolTipBase));
    completionList_->setPalette(tipPalette);
    completionList_->setFocusPolicy(Qt::NoFocus);
    completionList_->hide();

    splitter_->addWidget(treePane_);
    splitter_->addWidget(editorPane_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({208, 698 - 208});

    auto *client = new QWidget(this);
    auto *clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    toolBar_->setParent(client);
    clientLayout->addWidget(toolBar_);
    clientLayout->addWidget(clientFrame_);
    setCentralWidget(client);
}

void MainWindow::createStatusBar()
{
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("statusBar");
    statusBar_->setFixedHeight(20);
    // The fourth panel names the shown file's encoding and line ends.
    const int widths[4] = {200, 100, 120, 90};
    const Qt::Alignment alignments[4] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignHCenter};
    for (int i = 0; i < 4; ++i) {
        statusPanels_[i] = new QLabel(statusBar_);
        statusPanels_[i]->setObjectName(QString("statusPanel%1").arg(i));
        statusPanels_[i]->setFixedWidth(widths[i]);
        statusPanels_[i]->setAlignment(alignments[i] | Qt::AlignVCenter);
        statusBar_->addWidget(statusPanels_[i]);
    }
    setStatusBar(statusBar_);
}

void MainWindow::initialiseEditing()
{
    BuildColourTable();
    openStore();
    editorSurface_->AttachHighlighter([this] { return store_.get(); });
    layOutColourLegend();
    ColourLegend(colourLegend_, editorSurface_->Highlighter()->Scheme());
    // The legend follows the editor's scheme (a darker skin, other settings).
    connect(editorSurface_->Highlighter(), &PageHighlighter::schemeChanged, this,
            [this] { ColourLegend(colourLegend_, editorSurface_->Highlighter()->Scheme()); });
    editorSurface_->SetLive(false);
}

void MainWindow::openStore()
{
    // The store never stops the editor: a file that cannot be written is
    // read as it is, and one that cannot be used at all gives way to an
    // in-memory store with the built-in vocabulary. Either is said once.
    const QString path = KeywordStorePath();
    OpenedKeywordStore opened = OpenKeywordStoreOrFallback(path.toStdString());
    store_ = std::move(opened.store);
    storeIsFallback_ = opened.state == StoreState::Fallback;
    const QString reason = QString::fromUtf8(opened.reason.c_str());
    QString notice;
    switch (opened.state) {
    case StoreState::Writable: return;
    case StoreState::ReadOnly:
        notice = QString("关键字库不能写入，已按只读方式打开：\n%1\n\n%2\n\n"
                         "关键字照常着色和补全，工程中的名称也照常可用；"
                         "对关键字库所做的修改不会保存。")
                     .arg(path, reason);
        titleNote_ = " - 关键字库只读";
        refreshTitle();
        break;
    case StoreState::Fallback:
        notice = QString("关键字库无法使用：\n%1\n\n%2\n\n"
                         "正使用内存关键字库：内置关键字照常可用，程序结束后其中的改动不会保留。")
                     .arg(path, reason);
        titleNote_ = " - 关键字库打开失败，正使用内存关键字库";
        refreshTitle();
        break;
    }
    // Once the event loop runs, through the prompter (which a test has
    // exchanged by then), over the window rather than before it.
    QTimer::singleShot(0, this, [this, text = notice.toStdString()] { prompter_.Information(text); });
}

bool MainWindow::storeIsReadOnly() const
{
    return store_ && store_->ReadOnly();
}

void MainWindow::layOutColourLegend()
{
    int left = 0;
    for (const ColourEntry &entry : BuildColourTable()) {
        auto *label = new LegendLabel(QString::fromUtf8(entry.Caption), ToQColor(entry.Color), colourLegend_);
        label->adjustSize();
        label->move(left, 6);
        label->show();
        left += label->width() + 10;
    }
}

void MainWindow::closeStore()
{
    CloseKeywordStore(store_);
}

void MainWindow::previewKey(QChar key)
{
    if (key.unicode() == 27 && colourTimer_->isActive()) {
        colourTimer_->stop();
        action(ActionId::GetColor)->setChecked(false);
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    bool mayClose = true;
    Guarded(this, [&] { mayClose = dispatcher_->MayDiscardChanges(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    colourTimer_->stop();
    if (helpWindow_)
        helpWindow_->close();
    closeStore();
    // Runs that end by themselves leave the user's settings alone.
    if (!IsUnattendedRun()) {
        AppSettings settings;
        settings.setValue("window/geometry", normalGeometry());
        settings.setValue("window/maximized", isMaximized());
    }
    event->accept();
}

std::optional<std::string> MainWindow::ChooseFileToOpen()
{
    const QString file =
        QFileDialog::getOpenFileName(this, "打开", QString(), "ASP文档 (*.asp);;所有文档 (*)");
    if (file.isEmpty())
        return std::nullopt;
    return AbsoluteFileBytes(file);
}

std::optional<std::string> MainWindow::ChooseFileToSave()
{
    QFileDialog dialog(this, "保存", QString(), "ASP文档 (*.asp);;所有文档 (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("asp");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return AbsoluteFileBytes(dialog.selectedFiles().first());
}

std::optional<std::string> MainWindow::ChooseDirectory()
{
    if (directoryDialog()->exec() != QDialog::Accepted)
        return std::nullopt;
    const QString path = directoryDialog_->selectedPath();
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

dialogs::DirectoryDialog *MainWindow::directoryDialog()
{
    if (!directoryDialog_)
        directoryDialog_ = new dialogs::DirectoryDialog(this);
    return directoryDialog_;
}

dialogs::HelpWindow *MainWindow::helpWindow()
{
    if (!helpWindow_)
        helpWindow_ = new dialogs::HelpWindow(ApplicationTitle(), this);
    return helpWindow_;
}

FindReplaceDialog *MainWindow::findReplaceDialog()
{
    if (!findReplaceDialog_)
        findReplaceDialog_ = new FindReplaceDialog(*workspace_, this);
    return findReplaceDialog_;
}

void MainWindow::ShowHelp()
{
    helpWindow()->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void MainWindow::CloseWindow()
{
    close();
}

void MainWindow::SetColourPicking(bool on)
{
    if (on)
        colourTimer_->start();
    else
        colourTimer_->stop();
}

std::string MainWindow::PickerCaption() const
{
    return ToGbk(pickerPanel_->text());
}

void MainWindow::showEditorMenu(const QPoint &at)
{
    // The editor's own menu would offer its undo stack, which is off.
    QMenu menu(editor_);
    menu.addAction(action(ActionId::Undo));
    menu.addAction(action(ActionId::Redo));
    menu.addSeparator();
    const bool selection = editor_->textCursor().hasSelection();
    const bool editable = !editor_->isReadOnly();
    // The keys shown are the editor's own; the menu's entries only name them.
    const auto shown = [](QAction *entry, QKeySequence::StandardKey key) {
        entry->setShortcut(key);
        entry->setShortcutContext(Qt::WidgetShortcut);
        return entry;
    };
    shown(menu.addAction("剪切(&T)", editor_, &QPlainTextEdit::cut), QKeySequence::Cut)
        ->setEnabled(selection && editable);
    shown(menu.addAction("复制(&C)", editor_, &QPlainTextEdit::copy), QKeySequence::Copy)
        ->setEnabled(selection);
    shown(menu.addAction("粘贴(&P)", editor_, &QPlainTextEdit::paste), QKeySequence::Paste)
        ->setEnabled(editable && editor_->canPaste());
    menu.addAction("删除(&D)", editor_, [this] { editor_->textCursor().removeSelectedText(); })
        ->setEnabled(selection && editable);
    menu.addSeparator();
    shown(menu.addAction("全选(&A)", editor_, &QPlainTextEdit::selectAll), QKeySequence::SelectAll);
    menu.exec(editor_->viewport()->mapToGlobal(at));
}

void MainWindow::ExpandNode(TreeNode *node)
{
    projectTree_->expand(treeModel_->indexOf(node));
}

void MainWindow::ShowFindReplace(bool replace)
{
    findReplaceDialog()->showFor(replace);
}

bool MainWindow::CutEditorSelection()
{
    if (editor_->isReadOnly() || !(editor_->hasFocus() || editor_->textCursor().hasSelection()))
        return false;
    // A cut is one step of the node's history, as from the editor's menu.
    workspace_->EndUndoStep();
    editor_->cut();
    workspace_->EndUndoStep();
    return true;
}

void MainWindow::CopyEditorSelection()
{
    editor_->copy();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A key that nobody accepts travels on to the parents and passes here
    // again; previewKey does nothing twice, so that does no harm.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape)
            previewKey(QChar(27));
        else if (!key->text().isEmpty())
            previewKey(key->text().at(0));
        // The editor would take these keys for its own undo stack, which is
        // off: the user's actions are undone by the project's history.
        // Menu keys have been taken as shortcuts by now: any other Alt+key
        // must not type its letter into the code.
        if (watched == editor_ && IsStrayAltKey(*key))
            return true;
        if (watched == projectTree_ && key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
            const TreeNode *node = ProjectTreeModel::nodeOf(projectTree_->currentIndex());
            if (node && !node->IsDocument())
                statusPanels_[2]->setText("函数不能在树中改名：它的调用处不会随之修改。");
        }
        if (watched == editor_ && key->modifiers() & Qt::ControlModifier) {
            const bool shift = key->modifiers() & Qt::ShiftModifier;
            if (key->key() == Qt::Key_Slash && !shift) {
                Guarded(this, [&] { keys_->ToggleComments(); });
                return true;
            }
            if (key->key() == Qt::Key_Z && !shift) {
                action(ActionId::Undo)->trigger();
                return true;
            }
            if (key->key() == Qt::Key_Y || (key->key() == Qt::Key_Z && shift)) {
                action(ActionId::Redo)->trigger();
                return true;
            }
        }
        if (watched == editor_ && editorKeyPress(key))
            return true;
        // Shift+Tab that the editor's handlers left stays in the editor
        // rather than moving the focus.
        if (watched == editor_ && key->key() == Qt::Key_Backtab)
            return true;
    }
    // Without a window manager (and with some, for a frameless window) the
    // focus goes nowhere when a box closes: no window is active then, and
    // no shortcut works until the user clicks the window.
    if (event->type() == QEvent::Hide && watched != this && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow())
        QTimer::singleShot(0, this, &MainWindow::reclaimActivation);
    if (event->type() == QEvent::FocusOut && watched == editor_ && keys_)
        keys_->CMemoExit();
    // A click puts the caret elsewhere: what is typed next is a new step.
    if (event->type() == QEvent::MouseButtonPress && watched == editor_->viewport() && workspace_)
        workspace_->EndUndoStep();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::reclaimActivation()
{
    if (!isVisible() || isMinimized() || QApplication::activeWindow() || QApplication::activeModalWidget()
        || QApplication::activePopupWidget())
        return;
    activateWindow();
}

bool MainWindow::editorKeyPress(QKeyEvent *event)
{
    static const std::pair<int, EditorKey> virtualKeys[] = {
        {Qt::Key_Tab, EditorKey::Tab},       {Qt::Key_Backtab, EditorKey::Tab},
        {Qt::Key_PageUp, EditorKey::PageUp}, {Qt::Key_PageDown, EditorKey::PageDown},
        {Qt::Key_End, EditorKey::End},       {Qt::Key_Home, EditorKey::Home},
        {Qt::Key_Left, EditorKey::Left},     {Qt::Key_Up, EditorKey::Up},
        {Qt::Key_Right, EditorKey::Right},   {Qt::Key_Down, EditorKey::Down},
        {Qt::Key_F3, EditorKey::F3}};
    bool swallowed = false;
    if (editor_->isReadOnly())  // no node shown: no handler has a node to work on
        return false;
    Guarded(this, [&] {
        const bool shift = event->modifiers() & Qt::ShiftModifier || event->key() == Qt::Key_Backtab;
        for (const auto &[qt, vk] : virtualKeys)
            if (event->key() == qt && keys_->CMemoKeyDown(vk, shift)) {
                swallowed = true;
                return;
            }
        const QString text = event->text();
        if (!text.isEmpty() && !(event->modifiers() & Qt::ControlModifier))
            swallowed = keys_->CMemoKeyPress(text.toUcs4().value(0));
    });
    return swallowed;
}

bool MainWindow::openProjectFile(const QString &path)
{
    const bool opened = Guarded(this, [&] { dispatcher_->OpenProjectFile(AbsoluteFileBytes(path)); });
    fileWatch_->rewatch();
    refreshTitle();
    return opened;
}

bool MainWindow::useSkinFile(const QString &path)
{
    return skinMenu_->useSkinFile(path);
}

void MainWindow::placeOnScreen(bool remembered)
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect place = DefaultWindowGeometry(screen->availableGeometry());
    bool maximized = false;
    if (remembered) {
        AppSettings settings;
        const QRect saved = settings.value("window/geometry").toRect();
        if (saved.isValid()) {
            QList<QRect> screens;
            for (const QScreen *s : QGuiApplication::screens())
                screens << s->availableGeometry();
            place = OnScreenGeometry(saved, screens);
        }
        maximized = settings.value("window/maximized").toBool();
    }
    setGeometry(place);
    // The tree keeps its width; the editor takes what the window gained.
    splitter_->setSizes({std::max(208, place.width() / 5), place.width()});
    if (maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::refreshTitle()
{
    QString title = MainWindowCaption() + titleNote_;
    const TreeNode *root = tree_.FirstTopLevel();
    const bool page = root && root->Record() && !root->Record()->SourceFile.empty();
    if (page)
        title = PathText(root->Record()->SourceFile) + "[*] - " + title;
    // Both go to the window system each time, even unchanged (Qt passes
    // the modified mark on whatever it was): while a project loads this
    // runs for every node, and on X each call is a round trip.
    if (title != windowTitle())
        setWindowTitle(title);
    const bool modified = page && workspace_ && workspace_->Modified;
    if (modified != isWindowModified())
        setWindowModified(modified);
}

QUrl MainWindow::testPageAddress() const
{
    // The selected node's page, else the root page.
    const TreeNode *node = tree_.Selected() ? tree_.Selected() : tree_.FirstTopLevel();
    while (node && (!node->IsDocument() || !node->Record() || node->Record()->SourceFile.empty()))
        node = node->Parent();
    QString relative;
    if (node) {
        const std::filesystem::path page = node->Record()->SourceFile;
        const std::filesystem::path base =
            workspace_->SiteRoot.empty() ? page.parent_path() : workspace_->SiteRoot;
        const std::filesystem::path below = page.lexically_relative(base);
        if (!below.empty() && *below.begin() != "..")
            relative = QFile::decodeName(QByteArray::fromStdString(below.generic_string()));
    }
    return PageAddress(urlEdit_->text(), relative);
}

void MainWindow::openTestPage()
{
    const QUrl address = testPageAddress();
    // Without a program to hand the address to, Qt would only print a
    // warning: the user is told in a box instead.
    const bool launcher = !QStandardPaths::findExecutable("xdg-open").isEmpty()
                          || qEnvironmentVariableIsSet("BROWSER")
                          || QGuiApplication::platformName() != QLatin1String("xcb");
    if (!launcher || !QDesktopServices::openUrl(address))
        prompter_.Information(QString("没有找到可以打开网页的浏览器，请在浏览器中打开：\n%1")
                                  .arg(address.toString())
                                  .toStdString());
}

void MainWindow::openFileAskingFirst(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        prompter_.Information(QString("文件不存在：\n%1").arg(path).toStdString());
        projectMemory_->Forget(AbsoluteFileBytes(path));
        return;
    }
    Guarded(this, [&] { dispatcher_->OpenProjectFileAskingFirst(AbsoluteFileBytes(path)); });
    fileWatch_->rewatch();
    refreshTitle();
}

void MainWindow::addRecentFilesMenu()
{
    // In the 文件 menu, before 退出.
    QMenu *file = menuBar_->actions().value(0) ? menuBar_->actions().value(0)->menu() : nullptr;
    if (!file)
        return;
    auto *recent = new RecentFilesMenu(
        *projectMemory_, [this](const QString &p) { openFileAskingFirst(p); }, file);
    QAction *exit = file->actions().isEmpty() ? nullptr : file->actions().constLast();
    file->insertMenu(exit, recent);
    file->insertSeparator(exit);
}

void MainWindow::showOptions()
{
    std::array<QColor, kColourCategoryCount> shown;
    const ColourScheme &scheme = editorSurface_->Highlighter()->Scheme();
    for (size_t i = 0; i < kColourCategoryCount; ++i)
        shown[i] = ToQColor(scheme.Of(static_cast<ColourCategory>(i)));
    const QString root = workspace_->SiteRoot.empty() ? QString() : PathText(workspace_->SiteRoot);
    OptionsDialog dialog(LoadEditorOptions(), shown, root, this);
    bool rootWanted = false;
    connect(&dialog, &OptionsDialog::siteRootRequested, this, [&] { rootWanted = true; });
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.save();
    applyOptions();
    if (rootWanted)
        action(ActionId::SiteRoot)->trigger();
}

void MainWindow::applyOptions()
{
    const EditorOptions options = LoadEditorOptions();
    QFont font = editor_->font();
    font.setFamily(options.font.family());
    editor_->setFont(font);
    zoom_->setBaseSize(options.font.pixelSize());  // the zoom's steps stay
    SetTabStops(editor_, options.tabCharacters);
    workspace_->NewPageEncoding = options.newPageEncoding;
    workspace_->SaveWritesLayout = options.saveWritesLayout;
    keys_->SetCompleteOnWordEnd(options.completeOnWordEnd);
    editorSurface_->Highlighter()->FollowPalette();
}

void MainWindow::addViewMenu()
{
    zoom_ = new EditorZoom(editor_);
    auto *view = new QMenu(QStringLiteral("查看(&W)"), menuBar_);
    view->setObjectName("viewMenu");
    view->addAction(zoom_->zoomInAction());
    view->addAction(zoom_->zoomOutAction());
    view->addAction(zoom_->resetAction());
    view->addSeparator();
    // The keyboard's way between the two panes.
    auto *switchPane = new QAction(QStringLiteral("在工程树和编辑器间切换(&E)"), this);
    switchPane->setObjectName("Action_SwitchPane");
    switchPane->setShortcuts({QKeySequence(Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)});
    addAction(switchPane);
    connect(switchPane, &QAction::triggered, this, [this] {
        if (projectTree_->hasFocus())
            editor_->setFocus(Qt::ShortcutFocusReason);
        else
            projectTree_->setFocus(Qt::ShortcutFocusReason);
    });
    view->addAction(switchPane);
    view->addSeparator();
    auto *options = new QAction(QStringLiteral("选项(&P)..."), this);
    options->setObjectName("Action_Options");
    options->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    addAction(options);  // the shortcut works wherever the focus is
    connect(options, &QAction::triggered, this, &MainWindow::showOptions);
    view->addAction(options);
    // Before the skin menu, which stands before 帮助.
    menuBar_->insertMenu(skinMenu_->menuAction(), view);
}

void MainWindow::addToolsMenu()
{
    auto *tools = new QMenu(QStringLiteral("工具(&T)"), this);
    tools->setObjectName("toolsMenu");
    QAction *convertSite = tools->addAction(QStringLiteral("转换站点编码(&C)..."));
    convertSite->setObjectName("Action_ConvertSite");
    connect(convertSite, &QAction::triggered, this, &MainWindow::convertSiteEncoding);
    menuBar_->insertMenu(skinMenu_->menuAction(), tools);
}

void MainWindow::convertSiteEncoding()
{
    const TreeNode *root = tree().FirstTopLevel();
    if (!root || !root->Record() || root->Record()->SourceFile.empty()) {
        prompter_.Information("请先打开站点中的一个页面。");
        return;
    }
    // The conversion reads the files on disk: edits not yet saved would be
    // converted from what they replace, then read over.
    if (workspace_->Modified) {
        prompter_.Information("工程有尚未保存的修改，请先保存，再转换站点编码。");
        return;
    }
    const std::filesystem::path page = root->Record()->SourceFile;
    const std::filesystem::path siteRoot = workspace_->SiteRoot;
    dialogs::SiteConversionDialog dialog(siteRoot.empty() ? page.parent_path() : siteRoot, siteRoot, this);
    // The open files were rewritten: read again in their new encoding.
    connect(&dialog, &dialogs::SiteConversionDialog::converted, this,
            [this, page] { openProjectFile(QString::fromStdString(page.string())); });
    dialog.exec();
}

}  // namespace qasp::app
