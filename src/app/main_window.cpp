#include "app/main_window.h"

#include "app/app_info.h"
#include "app/builtin_skin.h"
#include "app/skin_menu.h"
#include "app/error_box.h"
#include "app/icons.h"
#include "app/interface_font.h"
#include "app/memo_editor.h"
#include "app/completion_popup.h"
#include "app/gbk_qstring.h"
#include "app/picker_panel.h"
#include "app/project_file_watch.h"
#include "app/project_tree_model.h"
#include "app/qt_prompter.h"
#include "app/store_location.h"
#include "app/unattended_run.h"
#include "dialogs/colour_picker.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "skin/data/skin_data.h"
#include "skin/windows/skin_manager.h"
#include "editor/colour_table.h"
#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "project/editor_keys.h"
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
#include <QSplitter>
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

QColor ToQColor(ColourValue c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

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

}  // namespace

TFAsp::TFAsp(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName("TFAsp");
    // The skin is read with the window: its model is ready before the
    // window is laid out, and it registers for skinning once it is.
    skin::InstallSkinManager();
    SkinData1 = new skin::SkinData(this);
    SkinData1->setObjectName("SkinData1");
    SkinData1->ShowMessage = [this](const std::string &m) {
        if (IsUnattendedRun())
            WriteBoxToStderr(QString::fromStdString(m));
        else
            QMessageBox::information(this, ApplicationTitle(), QString::fromStdString(m).replace('\r', '\n'));
    };
    SkinData1->SetSkinStream(BuiltinSkinStream());
    SkinData1->SetActive(true);
    setWindowTitle(MainWindowCaption());
    setFont(InterfaceFont());
    setGeometry(265, 147, 698, 539);

    CreateActions();
    CreateBars();
    CreateClientArea();
    CreateStatusBar();

    Timer_GetColor = new QTimer(this);
    Timer_GetColor->setObjectName("Timer_GetColor");
    Timer_GetColor->setInterval(100);

    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);

    FormCreate();
    ConnectProject();

    SkinData1->Loaded(this);

    dlgDir_ = new dialogs::TDLGDir(this);
    help_ = new dialogs::TFHelp(this);
    picker_ = new dialogs::ColourPicker(Timer_GetColor, Panel2, this);
    connect(picker_, &dialogs::ColourPicker::unavailable, this,
            [this](const QString &message) { StatusPanels[2]->setText(message); });
    connect(Panel2, &PickerPanel::doubleClicked, this,
            [this] { Guarded(this, [&] { dispatcher_->Panel2DoubleClick(); }); });
}

TFAsp::~TFAsp()
{
    qApp->removeEventFilter(this);
    // The view and the workspace observe the tree: they go first.
    CTree->setModel(nullptr);
    treeModel_.reset();
    delete fileWatch_;  // it reads the workspace
    fileWatch_ = nullptr;
    workspace_.reset();
}

void TFAsp::ConnectProject()
{
    treeModel_ = std::make_unique<ProjectTreeModel>(tree_);
    workspace_ = std::make_unique<ProjectWorkspace>(tree_, *store_, *this);
    dispatcher_ = std::make_unique<CommandDispatcher>(*workspace_, prompter_, *this);
    hlist_ = std::make_unique<CompletionPopup>(HList, CMemo);
    keys_ = std::make_unique<EditorKeys>(*workspace_, *hlist_, prompter_);
    fileWatch_ = new ProjectFileWatch(*workspace_, prompter_, this);
    connect(CMemo, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { Guarded(this, [&] { keys_->CMemoSelectionChange(); }); });
    CTree->setModel(treeModel_.get());

    // The user moves the selection: the workspace loads the node, then the
    // tree records the selection.
    connect(CTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                TreeNode *node = ProjectTreeModel::NodeOf(current);
                if (syncingSelection_ || node == tree_.Selected())
                    return;
                Guarded(this, [&] { workspace_->SelectNode(node); });
            });
    // The program moves the selection: the view follows.
    connect(treeModel_.get(), &ProjectTreeModel::selectedNodeChanged, this,
            [this](const QModelIndex &index) {
                syncingSelection_ = true;
                CTree->selectionModel()->setCurrentIndex(index,
                                                         QItemSelectionModel::ClearAndSelect);
                syncingSelection_ = false;
            });
    connect(CMemo, &QPlainTextEdit::textChanged, this, [this] { workspace_->CMemoChange(); });
}

MemoEditor &TFAsp::Memo()
{
    return *memo_;
}

void TFAsp::SetActionEnabled(ActionId id, bool enabled)
{
    Action(id)->setEnabled(enabled);
}

bool TFAsp::ActionEnabled(ActionId id) const
{
    return Action(id)->isEnabled();
}

void TFAsp::SetActionChecked(ActionId id, bool checked)
{
    Action(id)->setChecked(checked);
}

bool TFAsp::ActionChecked(ActionId id) const
{
    return Action(id)->isChecked();
}

void TFAsp::SetStatusText(int panel, std::string_view text)
{
    StatusPanels[panel]->setText(FromGbk(text));
}

void TFAsp::CreateActions()
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
        actions_[def.id] = a;
    }
    // Every command reaches Action_Do; a checkable one has flipped its check
    // mark by then.
    for (const ActionDef &def : ActionDefinitions())
        connect(Action(def.id), &QAction::triggered, this,
                [this, id = def.id] {
                    Guarded(this, [&] { dispatcher_->Action_Do(id); });
                    // A command may have loaded, saved or dropped files.
                    fileWatch_->Rewatch();
                });
}

void TFAsp::CreateBars()
{
    const QString barStyle = QString("background-color: %1;").arg(kBarColour.name());

    CMenu = new QMenuBar(this);
    CMenu->setObjectName("CMenu");
    CMenu->setFixedHeight(23);
    CMenu->setStyleSheet("QMenuBar { " + barStyle + " }");
    for (const MenuDef &menuDef : MenuBarLayout()) {
        QMenu *menu = CMenu->addMenu(QString::fromUtf8(menuDef.title));
        for (const BarItem &item : menuDef.items) {
            if (item.image == kSeparator)
                menu->addSeparator();
            else
                menu->addAction(BarFace(Action(item.id), item, menu));
        }
    }
    // The skin menu goes before 帮助.
    SkinMenu1 = new SkinMenu(SkinData1, this);
    CMenu->insertMenu(CMenu->actions().constLast(), SkinMenu1);
    setMenuBar(CMenu);

    CToolBar = new QToolBar(this);
    CToolBar->setObjectName("CToolBar");
    CToolBar->setFixedHeight(26);
    CToolBar->setMovable(false);
    CToolBar->setFloatable(false);
    CToolBar->setIconSize(QSize(16, 16));
    CToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    CToolBar->setStyleSheet("QToolBar { " + barStyle + " border: none; spacing: 0px; }");
    for (const BarItem &item : ToolBarLayout())
        CToolBar->addAction(BarFace(Action(item.id), item, CToolBar));
    // The tool bar is an ordinary control under the menu, of fixed height,
    // not a dockable bar of the window's tool bar area.
}

void TFAsp::CreateClientArea()
{
    auto *cpanel = new QFrame(this);
    cpanel->setObjectName("CPanel");
    cpanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    CPanel = cpanel;
    auto *cpanelLayout = new QHBoxLayout(CPanel);
    cpanelLayout->setContentsMargins(1, 1, 1, 1);

    CSplitter = new QSplitter(Qt::Horizontal, CPanel);
    CSplitter->setObjectName("CSplitter");
    CSplitter->setHandleWidth(5);
    CSplitter->setChildrenCollapsible(false);
    cpanelLayout->addWidget(CSplitter);

    // Left: the tree over Panel4 with the address box and its test button.
    Panel3 = new QWidget(CSplitter);
    Panel3->setObjectName("Panel3");
    auto *left = new QVBoxLayout(Panel3);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    CTree = new QTreeView(Panel3);
    CTree->setObjectName("CTree");
    CTree->setHeaderHidden(true);
    CTree->setIndentation(19);
    CTree->setIconSize(QSize(16, 16));
    CTree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    left->addWidget(CTree);
    Panel4 = new QWidget(Panel3);
    Panel4->setObjectName("Panel4");
    Panel4->setFixedHeight(25);
    Edit1 = new QLineEdit("http://127.0.0.1:8010/", Panel4);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(0, 3, 161, 20);
    Button1 = new QPushButton("测试", Panel4);
    Button1->setObjectName("Button1");
    Button1->setGeometry(160, 3, 45, 20);
    connect(Button1, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromUserInput(Edit1->text())); });
    left->addWidget(Panel4);

    // Right: the editor over the legend; the completion list floats over it.
    Panel1 = new QWidget(CSplitter);
    Panel1->setObjectName("Panel1");
    auto *right = new QVBoxLayout(Panel1);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    CMemo = new QPlainTextEdit(Panel1);
    CMemo->setObjectName("CMemo");
    CMemo->setFont(InterfaceFont());
    CMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    CMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CMemo->setTabChangesFocus(false);
    CMemo->setProperty("Tag", 0);
    right->addWidget(CMemo);
    memo_ = std::make_unique<MemoEditor>(CMemo);
    CMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CMemo, &QWidget::customContextMenuRequested, this, &TFAsp::ShowEditorMenu);

    INFO_Color = new QWidget(Panel1);
    INFO_Color->setObjectName("INFO_Color");
    INFO_Color->setFixedHeight(25);
    // The legend's labels are placed by hand; the layout only keeps Panel2
    // at the right-hand edge.
    auto *legendLayout = new QHBoxLayout(INFO_Color);
    legendLayout->setContentsMargins(0, 0, 0, 0);
    legendLayout->addStretch(1);
    Panel2 = new PickerPanel(INFO_Color);
    Panel2->setObjectName("Panel2");
    Panel2->setText("取色");
    Panel2->setFixedWidth(63);
    legendLayout->addWidget(Panel2);
    right->addWidget(INFO_Color);

    HList = new QListWidget(Panel1);
    HList->setObjectName("HList");
    HList->setGeometry(201, 72, 137, 177);
    HList->setFrameShape(QFrame::NoFrame);
    HList->setIconSize(QSize(18, 12));
    HList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    HList->setBackgroundRole(QPalette::ToolTipBase);
    HList->setAutoFillBackground(true);
    QPalette tipPalette = HList->palette();
    tipPalette.setColor(QPalette::Base, tipPalette.color(QPalette::ToolTipBase));
    HList->setPalette(tipPalette);
    HList->setFocusPolicy(Qt::NoFocus);
    HList->hide();

    CSplitter->addWidget(Panel3);
    CSplitter->addWidget(Panel1);
    CSplitter->setStretchFactor(0, 0);
    CSplitter->setStretchFactor(1, 1);
    CSplitter->setSizes({208, 698 - 208});

    auto *client = new QWidget(this);
    auto *clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    CToolBar->setParent(client);
    clientLayout->addWidget(CToolBar);
    clientLayout->addWidget(CPanel);
    setCentralWidget(client);
}

void TFAsp::CreateStatusBar()
{
    CBottom = new QStatusBar(this);
    CBottom->setObjectName("CBottom");
    CBottom->setFixedHeight(20);
    const int widths[3] = {200, 100, 120};
    const Qt::Alignment alignments[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(CBottom);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setAlignment(alignments[i] | Qt::AlignVCenter);
        CBottom->addWidget(StatusPanels[i]);
    }
    setStatusBar(CBottom);
}

void TFAsp::FormCreate()
{
    BuildColourTable();
    OpenStore();
    LayOutColourLegend();
    SetTabStops(CMemo, 2);
    CMemo->setProperty("Tag", 0);
}

void TFAsp::OpenStore()
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
    case StoreState::Writable:
        return;
    case StoreState::ReadOnly:
        notice = QString("关键字库不能写入，已按只读方式打开：\n%1\n\n%2\n\n"
                         "关键字照常着色和补全，工程中的名称也照常可用。")
                     .arg(path, reason);
        setWindowTitle(MainWindowCaption() + " - 关键字库只读");
        break;
    case StoreState::Fallback:
        notice = QString("关键字库无法使用：\n%1\n\n%2\n\n"
                         "正使用内存关键字库：内置关键字照常可用，程序结束后其中的改动不会保留。")
                     .arg(path, reason);
        setWindowTitle(MainWindowCaption() + " - 关键字库打开失败，正使用内存关键字库");
        break;
    }
    // Once the event loop runs, through the prompter (which a test has
    // exchanged by then), over the window rather than before it.
    QTimer::singleShot(0, this, [this, text = notice.toStdString()] { prompter_.Information(text); });
}

bool TFAsp::StoreIsReadOnly() const
{
    return store_ && store_->ReadOnly();
}

void TFAsp::LayOutColourLegend()
{
    int left = 0;
    for (const ColourEntry &entry : BuildColourTable()) {
        auto *label = new QLabel(QString::fromUtf8(entry.Caption), INFO_Color);
        label->setAlignment(Qt::AlignCenter);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, ToQColor(entry.Color));
        label->setPalette(p);
        label->adjustSize();
        label->move(left, 6);
        label->show();
        left += label->width() + 10;
    }
}

void TFAsp::FormClose()
{
    CloseKeywordStore(store_);
}

void TFAsp::FormKeyPress(QChar key)
{
    if (key.unicode() == 27 && Timer_GetColor->isActive()) {
        Timer_GetColor->stop();
        Action(ActionId::GetColor)->setChecked(false);
    }
}

void TFAsp::closeEvent(QCloseEvent *event)
{
    bool mayClose = true;
    Guarded(this, [&] { mayClose = dispatcher_->MayDiscardChanges(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    Timer_GetColor->stop();
    help_->close();
    FormClose();
    event->accept();
}

std::optional<std::string> TFAsp::ChooseFileToOpen()
{
    const QString file = QFileDialog::getOpenFileName(this, "打开", QString(),
                                                      "ASP文档 (*.asp);;所有文档 (*)");
    if (file.isEmpty())
        return std::nullopt;
    return QFile::encodeName(QFileInfo(file).absoluteFilePath()).toStdString();
}

std::optional<std::string> TFAsp::ChooseFileToSave()
{
    QFileDialog dialog(this, "保存", QString(), "ASP文档 (*.asp);;所有文档 (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("asp");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath()).toStdString();
}

std::optional<std::string> TFAsp::ChooseDirectory()
{
    if (dlgDir_->exec() != QDialog::Accepted)
        return std::nullopt;
    const QString path = dlgDir_->SelectedPath();
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

void TFAsp::ShowHelp()
{
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void TFAsp::CloseWindow()
{
    close();
}

void TFAsp::SetColourPicking(bool on)
{
    if (on)
        Timer_GetColor->start();
    else
        Timer_GetColor->stop();
}

std::string TFAsp::PickerCaption() const
{
    return ToGbk(Panel2->text());
}

void TFAsp::ShowEditorMenu(const QPoint &at)
{
    // The editor's own menu would offer its undo stack, which is off.
    QMenu menu(CMemo);
    menu.addAction(Action(ActionId::Undo));
    menu.addAction(Action(ActionId::Redo));
    menu.addSeparator();
    const bool selection = CMemo->textCursor().hasSelection();
    const bool editable = !CMemo->isReadOnly();
    menu.addAction("剪切(&T)", CMemo, &QPlainTextEdit::cut)->setEnabled(selection && editable);
    menu.addAction("复制(&C)", CMemo, &QPlainTextEdit::copy)->setEnabled(selection);
    menu.addAction("粘贴(&P)", CMemo, &QPlainTextEdit::paste)->setEnabled(editable && CMemo->canPaste());
    menu.addAction("删除(&D)", CMemo, [this] { CMemo->textCursor().removeSelectedText(); })
        ->setEnabled(selection && editable);
    menu.addSeparator();
    menu.addAction("全选(&A)", CMemo, &QPlainTextEdit::selectAll);
    menu.exec(CMemo->viewport()->mapToGlobal(at));
}

void TFAsp::ExpandNode(TreeNode *node)
{
    CTree->expand(treeModel_->IndexOf(node));
}

bool TFAsp::eventFilter(QObject *watched, QEvent *event)
{
    // A key that nobody accepts travels on to the parents and passes here
    // again; FormKeyPress does nothing twice, so that does no harm.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape)
            FormKeyPress(QChar(27));
        else if (!key->text().isEmpty())
            FormKeyPress(key->text().at(0));
        // The editor would take these keys for its own undo stack, which is
        // off: the user's actions are undone by the project's history.
        if (watched == CMemo && key->modifiers() & Qt::ControlModifier) {
            const bool shift = key->modifiers() & Qt::ShiftModifier;
            if (key->key() == Qt::Key_Z && !shift) {
                Action(ActionId::Undo)->trigger();
                return true;
            }
            if (key->key() == Qt::Key_Y || (key->key() == Qt::Key_Z && shift)) {
                Action(ActionId::Redo)->trigger();
                return true;
            }
        }
        if (watched == CMemo && EditorKeyPress(key))
            return true;
    }
    if (event->type() == QEvent::FocusOut && watched == CMemo && keys_)
        keys_->CMemoExit();
    // A click puts the caret elsewhere: what is typed next is a new step.
    if (event->type() == QEvent::MouseButtonPress && watched == CMemo->viewport() && workspace_)
        workspace_->EndUndoStep();
    return QMainWindow::eventFilter(watched, event);
}

bool TFAsp::EditorKeyPress(QKeyEvent *event)
{
    static const std::pair<int, int> virtualKeys[] = {
        {Qt::Key_Tab, kVkTab}, {Qt::Key_Backtab, kVkTab}, {Qt::Key_PageUp, kVkPageUp},
        {Qt::Key_PageDown, kVkPageDown}, {Qt::Key_End, kVkEnd}, {Qt::Key_Home, kVkHome},
        {Qt::Key_Left, kVkLeft}, {Qt::Key_Up, kVkUp}, {Qt::Key_Right, kVkRight},
        {Qt::Key_Down, kVkDown}, {Qt::Key_F3, kVkF3}};
    bool swallowed = false;
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

bool TFAsp::OpenProjectFile(const QString &path)
{
    const bool opened = Guarded(this, [&] {
        dispatcher_->OpenProjectFile(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
    });
    fileWatch_->Rewatch();
    return opened;
}

}  // namespace qasp::app
