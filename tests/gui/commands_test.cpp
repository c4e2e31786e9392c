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
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
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
