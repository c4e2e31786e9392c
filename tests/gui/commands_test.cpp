// The real window driven through its actions, with the user's answers and
// file choices given in advance.
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/picker_panel.h"
#include "app/project_tree_model.h"
#include "dialogs/colour_picker.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "project/asp_writer.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "gui_test_setup.h"

#include <deque>

using namespace qasp;
using namespace qasp::app;
using qasp::testing::RecordingPrompter;

namespace {

// The window with its file dialogs answered from a queue.
class TestWindow : public TFAsp {
public:
    TestWindow() { UsePrompter(&prompter); }
    ~TestWindow() override { UsePrompter(nullptr); }

    std::optional<std::string> ChooseFileToOpen() override { return Next(); }
    std::optional<std::string> ChooseFileToSave() override { return Next(); }
    std::optional<std::string> ChooseDirectory() override { return Next(); }

    RecordingPrompter prompter;
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
        w.answers = {dir.filePath("index.asp").toStdString()};
        w.Action(ActionId::OPEN)->trigger();
        ProjectTree &tree = w.Tree();
        QCOMPARE(tree.Count(), 23);

        // Select a function through the view, and move it to another document.
        TreeNode *fn = NodeNamed(tree, "LoadNews()");
        TreeNode *layout = NodeNamed(tree, "layout.asp");
        QVERIFY(fn && layout);
        w.CTree->setCurrentIndex(w.TreeModel().IndexOf(fn));
        w.Action(ActionId::Cut)->trigger();
        QVERIFY(!w.Action(ActionId::Paste)->isEnabled());
        w.CTree->setCurrentIndex(w.TreeModel().IndexOf(layout));
        QVERIFY(w.Action(ActionId::Paste)->isEnabled());
        w.Action(ActionId::Paste)->trigger();
        QCOMPARE(fn->Parent(), layout);
        QVERIFY(w.CTree->isExpanded(w.TreeModel().IndexOf(layout)));

        // Type into layout.asp's page text.
        QTextCursor c = w.CMemo->textCursor();
        c.movePosition(QTextCursor::End);
        w.CMemo->setTextCursor(c);
        QTest::keyClick(w.CMemo, Qt::Key_Return);
        QTest::keyClicks(w.CMemo, "Dim gFooter");

        w.Action(ActionId::Save)->trigger();
        for (const char *name : {"index.asp", "functions.asp", "layout.asp", "inc/conn.asp"}) {
            const TreeNode *doc = NodeNamed(tree, name);
            QVERIFY(doc);
            QCOMPARE(ReadAll(dir.filePath(name)),
                     QByteArray::fromStdString(AspDocumentBytes(*doc, doc == tree.FirstTopLevel())));
        }
        QVERIFY(ReadAll(dir.filePath("layout.asp")).contains("\r\nFunction LoadNews()"));
        QVERIFY(ReadAll(dir.filePath("layout.asp")).contains("\r\nDim gFooter\r\n"));
        QVERIFY(!w.Workspace().Modified);

        w.answers = {dir.filePath("all.asp").toStdString()};
        w.Action(ActionId::SaveSingle)->trigger();
        QCOMPARE(ReadAll(dir.filePath("all.asp")), QByteArray::fromStdString(SingleDocumentBytes(tree, true)));
    }

    void searchSelectsWholeCharactersInChineseText()
    {
        TestWindow w;
        TreeNode *doc = w.Tree().AddTopLevel("a.asp");
        // "' 中文说明" CR LF "x = total": the match lies behind two-byte characters.
        w.Tree().AttachRecord(doc, {"' \xD6\xD0\xCE\xC4\xCB\xB5\xC3\xF7\r\nx = total"});
        w.Workspace().SelectNode(doc);
        w.prompter.inputs = {"TOTAL"};
        w.Action(ActionId::Search)->trigger();
        QCOMPARE(w.CMemo->textCursor().selectedText(), QString("total"));
        // F3 searches on in other nodes; here the search box is asked again.
        w.prompter.inputs = {"中文"};
        w.CMemo->moveCursor(QTextCursor::Start);
        w.Action(ActionId::Search)->trigger();
        QCOMPARE(w.CMemo->textCursor().selectedText(), QString("中文"));
    }

    void closingWithUnsavedChangesAsks()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        w.show();
        QVERIFY(w.OpenProjectFile(dir.filePath("index.asp")));
        w.Tree().Rename(NodeNamed(w.Tree(), "layout.asp"), "layout2.asp");
        w.prompter.answers = {Answer::Cancel};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(QString::fromStdString(w.prompter.shown.back()), QString("保存提示|工程已经修改，要保存吗?"));
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
        w.Action(ActionId::Help)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(w.HelpWindow()));
        QVERIFY(w.HelpWindow()->Memo1->toPlainText().contains("使用说明"));
        QCOMPARE(w.HelpWindow()->windowTitle(), QString("帮助主题"));
        w.HelpWindow()->Button1->click();
        QVERIFY(!w.HelpWindow()->isVisible());

        QDir::setCurrent(QDir::tempPath());
        QString shown;
        QTimer::singleShot(100, [&shown] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        w.Action(ActionId::Help)->trigger();
        QTRY_COMPARE(shown, QString("找不到帮助文件:readme.txt"));
        QDir::setCurrent(before);
    }

    void directoryDialogOffersOnlyRealFolders()
    {
        TestWindow w;
        dialogs::TDLGDir *dlg = w.DirectoryDialog();
        QCOMPARE(dlg->Label1->text(), QString("请选择你要保存的目录:"));
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(".hidden");
        dlg->SelectPath(dir.filePath(".hidden"));
        QVERIFY(dlg->Button1->isEnabled());
        QCOMPARE(dlg->SelectedPath(), dir.filePath(".hidden"));
        dlg->ShellTreeView1->setCurrentIndex(QModelIndex());
        QVERIFY(!dlg->Button1->isEnabled());
    }

    void colourPickerShowsCodeAndComplement()
    {
        TestWindow w;
        w.Picker()->ShowColour(QColor(255, 0, 0));
        QCOMPARE(w.Panel2->text(), QString("#FF0000"));
        QCOMPARE(w.Panel2->palette().color(QPalette::WindowText), QColor(0, 255, 255));
        w.Picker()->ShowColour(QColor(255, 255, 255));
        QCOMPARE(w.Panel2->text(), QString("#FFFFFF"));
        QCOMPARE(w.Panel2->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QCOMPARE(dialogs::ColourCode(QColor(1, 0xAB, 0x0C)), QString("#01AB0C"));
    }

    void swatchDoubleClickInsertsItsCaption()
    {
        TestWindow w;
        TreeNode *doc = w.Tree().AddTopLevel("a.asp");
        w.Tree().AttachRecord(doc, {"x = 1"});
        w.Workspace().SelectNode(doc);
        w.CMemo->moveCursor(QTextCursor::End);
        QTest::mouseDClick(w.Panel2, Qt::LeftButton);
        QCOMPARE(doc->Text(), std::string("x = 1\xC8\xA1\xC9\xAB"));  // 取色
        w.Picker()->ShowColour(QColor(0, 128, 0));
        QTest::mouseDClick(w.Panel2, Qt::LeftButton);
        QCOMPARE(doc->Text(), std::string("x = 1\xC8\xA1\xC9\xAB#008000"));
    }

    void pickingStartsAndStopsWithItsAction()
    {
        TestWindow w;
        w.Action(ActionId::GetColor)->trigger();
        QVERIFY(w.Timer_GetColor->isActive());
        w.Action(ActionId::GetColor)->trigger();
        QVERIFY(!w.Timer_GetColor->isActive());
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
