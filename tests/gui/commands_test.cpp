// The real window driven through its actions, with the user's answers and
// file choices given in advance.
#include "app/find_replace_dialog.h"
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/picker_panel.h"
#include "app/project_tree_model.h"
#include "dialogs/colour_picker.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "project/asp_writer.h"
#include "project/document_assembly.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include "gui_test_setup.h"
#include "prompted_window.h"

#include <deque>

using namespace qasp;
using namespace qasp::app;

namespace {

// The window with its file dialogs answered from a queue.
class TestWindow : public qasp::testing::PromptedWindow {
public:
    std::optional<std::string> ChooseFileToOpen() override { return Next(); }
    std::optional<std::string> ChooseFileToSave() override { return Next(); }
    std::optional<std::string> ChooseDirectory() override { return Next(); }

    std::deque<std::optional<std::string>> answers;

private:
    std::optional<std::string> Next()
    {
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of the demo site in a scratch folder.
void CopyDemo(const QTemporaryDir &dir)
{
    const QString demo = QFileInfo(QFINDTESTDATA("../../examples/demo/index.asp")).absolutePath();
    QDir().mkpath(dir.filePath("inc"));
    for (const char *name : {"index.asp", "functions.asp", "layout.asp", "inc/conn.asp", "readme.txt"})
        QVERIFY(QFile::copy(demo + "/" + name, dir.filePath(QString(name))));
}

TreeNode *NodeNamed(ProjectTree &tree, const std::string &name)
{
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (n->DisplayText() == name)
            return n;
    return nullptr;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UseFreshKeywordStore(); }

    void initTestCase() { PrepareGuiTests(); }

    void openEditCutPasteSaveAndExport()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.answers = {dir.filePath("index.asp").toStdString()};
        w.action(ActionId::OPEN)->trigger();
        ProjectTree &tree = w.tree();
        QCOMPARE(tree.Count(), 23);

        // Select a function through the view, and move it to another document.
        TreeNode *fn = NodeNamed(tree, "LoadNews()");
        TreeNode *layout = NodeNamed(tree, "layout.asp");
        QVERIFY(fn && layout);
        QTreeView *projectTree = PartOf<QTreeView>(w, "projectTree");
        projectTree->setCurrentIndex(w.treeModel().indexOf(fn));
        w.action(ActionId::Cut)->trigger();
        QVERIFY(!w.action(ActionId::Paste)->isEnabled());
        projectTree->setCurrentIndex(w.treeModel().indexOf(layout));
        QVERIFY(w.action(ActionId::Paste)->isEnabled());
        w.action(ActionId::Paste)->trigger();
        QCOMPARE(fn->Parent(), layout);
        QVERIFY(projectTree->isExpanded(w.treeModel().indexOf(layout)));

        // Type into layout.asp's page text.
        QTextCursor c = editor->textCursor();
        c.movePosition(QTextCursor::End);
        editor->setTextCursor(c);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "Dim gFooter");

        w.action(ActionId::Save)->trigger();
        // Each file is what its documents show; the moved function's bytes
        // left index.asp and joined layout.asp's last script block.
        for (const char *name : {"index.asp", "functions.asp", "layout.asp", "inc/conn.asp"}) {
            const TreeNode *doc = NodeNamed(tree, name);
            QVERIFY(doc);
            QCOMPARE(ReadAll(dir.filePath(name)), QByteArray::fromStdString(FileBytesOf(*doc)));
        }
        QVERIFY(!ReadAll(dir.filePath("index.asp")).contains("Function LoadNews()"));
        QVERIFY(ReadAll(dir.filePath("layout.asp")).contains("\r\nFunction LoadNews()"));
        QVERIFY(ReadAll(dir.filePath("layout.asp")).endsWith("\r\nDim gFooter"));
        QCOMPARE(ReadAll(dir.filePath("functions.asp")),
                 ReadAll(QFINDTESTDATA("../../examples/demo/functions.asp")));
        QVERIFY(!w.workspace().Modified);

        w.answers = {dir.filePath("all.asp").toStdString()};
        w.action(ActionId::SaveSingle)->trigger();
        QCOMPARE(ReadAll(dir.filePath("all.asp")),
                 QByteArray::fromStdString(SingleDocumentBytes(tree, true)));
    }

    // Nothing typed may be thrown away: the editor takes input only while
    // it shows a node, and an opened page shows its root at once.
    void theEditorTakesInputOnlyWhileItShowsANode()
    {
        TestWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        editor->setFocus();
        QTest::keyClicks(editor, "lost");
        QCOMPARE(editor->toPlainText(), QString());
        QVERIFY(editor->isReadOnly());

        QTemporaryDir dir;
        CopyDemo(dir);
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        TreeNode *root = w.tree().FirstTopLevel();
        QCOMPARE(w.tree().Selected(), root);
        QCOMPARE(PartOf<QTreeView>(w, "projectTree")->currentIndex(), w.treeModel().indexOf(root));
        QCOMPARE(w.Memo().Text(), root->Text());
        QCOMPARE(editor->textCursor().position(), 0);
        QVERIFY(!editor->isReadOnly());
        QVERIFY(w.action(ActionId::SaveSelect)->isEnabled());
        editor->setFocus();
        QTest::keyClicks(editor, "kept");
        QVERIFY(root->Text().starts_with("kept"));

        // The shown node deleted: the editor shows the node the tree moves
        // to, or nothing, and then takes no input.
        w.workspace().SelectNode(NodeNamed(w.tree(), "LoadNews()"));
        w.prompter.answers = {Answer::Yes};
        w.action(ActionId::Del)->trigger();
        QVERIFY(w.tree().Selected());
        QCOMPARE(w.Memo().Text(), w.tree().Selected()->Text());
        w.workspace().SelectNode(root);
        w.prompter.answers = {Answer::Yes};
        w.action(ActionId::Del)->trigger();
        QVERIFY(!w.tree().Selected());
        QCOMPARE(editor->toPlainText(), QString());
        QVERIFY(editor->isReadOnly());
        QTest::keyClicks(editor, "lost");
        QCOMPARE(editor->toPlainText(), QString());
        // 删除 and 仅保存指定文档 wait for a node; 删除 asks nothing meanwhile.
        QVERIFY(!w.action(ActionId::Del)->isEnabled());
        QVERIFY(!w.action(ActionId::SaveSelect)->isEnabled());
        const size_t asked = w.prompter.shown.size();
        w.action(ActionId::Del)->trigger();
        QCOMPARE(w.prompter.shown.size(), asked);
    }

    void aProjectThatFailsToOpenLeavesNoDocumentToSave()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        QVERIFY(w.action(ActionId::SaveSelect)->isEnabled());
        QTimer::singleShot(0, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        QVERIFY(!w.openProjectFile(dir.filePath("missing.asp")));
        QVERIFY(!w.tree().FirstTopLevel());
        QVERIFY(!w.action(ActionId::SaveSelect)->isEnabled());
        QVERIFY(EditorOf(w)->isReadOnly());
    }

    // F2 would rename a procedure in its head line only, leaving its calls
    // behind: only a document's label is renamed.
    void onlyADocumentsLabelCanBeRenamed()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        auto *view = PartOf<QTreeView>(w, "projectTree");
        TreeNode *fn = NodeNamed(w.tree(), "LoadNews()");
        const std::string head(fn->Text());
        view->setCurrentIndex(w.treeModel().indexOf(fn));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        QVERIFY(!view->findChild<QLineEdit *>());         // no label editor opened
        QVERIFY(!StatusPanelOf(w, 2)->text().isEmpty());  // the user is told why
        QVERIFY(!w.treeModel().setData(w.treeModel().indexOf(fn), "Renamed", Qt::EditRole));
        QTest::qWait(10);  // a rename would be carried out once the event loop runs
        QCOMPARE(fn->DisplayText(), std::string("LoadNews()"));
        QCOMPARE(fn->Text(), head);

        TreeNode *layout = NodeNamed(w.tree(), "layout.asp");
        view->setCurrentIndex(w.treeModel().indexOf(layout));
        QTest::keyClick(view, Qt::Key_F2);
        QVERIFY(view->findChild<QLineEdit *>());
    }

    // 剪切 and 复制 act on the editor's selection; 剪切 cuts the tree's node
    // when the editor has neither the focus nor a selection.
    void cutAndCopyTakeTheEditorsSelection()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        QPlainTextEdit *editor = EditorOf(w);
        TreeNode *root = w.tree().FirstTopLevel();
        const std::string before(root->Text());
        QTextCursor c = editor->textCursor();
        c.setPosition(0);
        c.setPosition(5, QTextCursor::KeepAnchor);
        editor->setTextCursor(c);
        const QString cut = c.selectedText();

        w.action(ActionId::Copy)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), cut);
        QGuiApplication::clipboard()->clear();
        // The tool bar's face of 剪切, as the user clicks it.
        auto *bar = PartOf<QToolBar>(w, "toolBar");
        QAction *face = nullptr;
        for (QAction *a : bar->actions())
            if (a->text() == w.action(ActionId::Cut)->text())
                face = a;
        QVERIFY(face);
        face->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), cut);
        QCOMPARE(root->Text(), before.substr(5));
        QVERIFY(!w.workspace().CutNode);

        // The tree has the focus and the editor no selection: the node is cut.
        auto *view = PartOf<QTreeView>(w, "projectTree");
        TreeNode *fn = NodeNamed(w.tree(), "LoadNews()");
        view->setCurrentIndex(w.treeModel().indexOf(fn));
        view->setFocus();
        face->trigger();
        QCOMPARE(w.workspace().CutNode, fn);
    }

    void theFolderChooserIsMadeWhenFirstUsed()
    {
        TestWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.hasDirectoryDialog());
        QVERIFY(w.findChildren<QFileSystemModel *>().isEmpty());
        QVERIFY(w.directoryDialog());
        QVERIFY(w.hasDirectoryDialog());
    }

    void searchSelectsWholeCharactersInChineseText()
    {
        TestWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        TreeNode *doc = w.tree().AddTopLevel("a.asp");
        // "' 中文说明" CR LF "x = total": the match lies behind two-byte characters.
        w.tree().AttachRecord(doc, {"' \xD6\xD0\xCE\xC4\xCB\xB5\xC3\xF7\r\nx = total"});
        w.workspace().SelectNode(doc);
        w.action(ActionId::Search)->trigger();
        auto *findEdit = w.findReplaceDialog()->findChild<QLineEdit *>("findEdit");
        auto *findNext = w.findReplaceDialog()->findChild<QPushButton *>("findNextButton");
        findEdit->setText("TOTAL");
        findNext->click();
        QCOMPARE(editor->textCursor().selectedText(), QString("total"));
        findEdit->setText("中文");
        editor->moveCursor(QTextCursor::Start);
        findNext->click();
        QCOMPARE(editor->textCursor().selectedText(), QString("中文"));
    }

    void closingWithUnsavedChangesAsks()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        w.show();
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        w.tree().Rename(NodeNamed(w.tree(), "layout.asp"), "layout2.asp");
        w.prompter.answers = {Answer::Cancel};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(QString::fromStdString(w.prompter.shown.back()),
                 QString("保存提示|工程已经修改，要保存吗?"));
        w.prompter.answers = {Answer::No};
        QVERIFY(w.close());
        QVERIFY(!QFile::exists(dir.filePath("layout2.asp")));
    }

    void helpWindowReadsReadmeFromTheCurrentDirectory()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        TestWindow w;
        w.show();
        w.action(ActionId::Help)->trigger();
        dialogs::HelpWindow *help = w.helpWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QVERIFY(PartOf<QPlainTextEdit>(*help, "helpText")->toPlainText().contains("使用说明"));
        QCOMPARE(help->windowTitle(), QString("帮助主题"));
        PartOf<QPushButton>(*help, "closeButton")->click();
        QVERIFY(!help->isVisible());

        QDir::setCurrent(QDir::tempPath());
        QString shown;
        QTimer::singleShot(100, [&shown] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        w.action(ActionId::Help)->trigger();
        QTRY_COMPARE(shown, QString("找不到帮助文件:readme.txt"));
        QDir::setCurrent(before);
    }

    void directoryDialogOffersOnlyRealFolders()
    {
        TestWindow w;
        dialogs::DirectoryDialog *dlg = w.directoryDialog();
        const QPushButton *ok = PartOf<QPushButton>(*dlg, "okButton");
        QCOMPARE(PartOf<QLabel>(*dlg, "promptLabel")->text(), QString("请选择你要保存的目录:"));
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(".hidden");
        dlg->selectPath(dir.filePath(".hidden"));
        QVERIFY(ok->isEnabled());
        QCOMPARE(dlg->selectedPath(), dir.filePath(".hidden"));
        PartOf<QTreeView>(*dlg, "folderTree")->setCurrentIndex(QModelIndex());
        QVERIFY(!ok->isEnabled());
    }

    void colourPickerShowsCodeAndComplement()
    {
        TestWindow w;
        const PickerPanel *picker = PartOf<PickerPanel>(w, "pickerPanel");
        w.colourPicker()->showColour(QColor(255, 0, 0));
        QCOMPARE(picker->text(), QString("#FF0000"));
        QCOMPARE(picker->palette().color(QPalette::WindowText), QColor(0, 255, 255));
        w.colourPicker()->showColour(QColor(255, 255, 255));
        QCOMPARE(picker->text(), QString("#FFFFFF"));
        QCOMPARE(picker->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QCOMPARE(dialogs::ColourCode(QColor(1, 0xAB, 0x0C)), QString("#01AB0C"));
    }

    void swatchDoubleClickInsertsItsCaption()
    {
        TestWindow w;
        TreeNode *doc = w.tree().AddTopLevel("a.asp");
        w.tree().AttachRecord(doc, {"x = 1"});
        w.workspace().SelectNode(doc);
        PickerPanel *picker = PartOf<PickerPanel>(w, "pickerPanel");
        EditorOf(w)->moveCursor(QTextCursor::End);
        QTest::mouseDClick(picker, Qt::LeftButton);
        QCOMPARE(doc->Text(), std::string("x = 1\xC8\xA1\xC9\xAB"));  // 取色
        w.colourPicker()->showColour(QColor(0, 128, 0));
        QTest::mouseDClick(picker, Qt::LeftButton);
        QCOMPARE(doc->Text(), std::string("x = 1\xC8\xA1\xC9\xAB#008000"));
    }

    void pickingStartsAndStopsWithItsAction()
    {
        TestWindow w;
        const QTimer *colourTimer = PartOf<QTimer>(w, "colourTimer");
        w.action(ActionId::GetColor)->trigger();
        QVERIFY(colourTimer->isActive());
        w.action(ActionId::GetColor)->trigger();
        QVERIFY(!colourTimer->isActive());
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
