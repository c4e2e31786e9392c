// Finding one's way in the real window: the gutter's file lines, 转到行,
// 转到定义 on an include and on a name then 后退, 在工程中查找 with a click
// and F3, the status bar's file position, and the hover hint.
#include "app/line_number_gutter.h"
#include "app/main_window.h"
#include "app/navigation_controller.h"
#include "app/project_tree_model.h"
#include "app/search_results_panel.h"
#include "gbk_literal.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;
using qasp::testing::RecordingPrompter;

namespace {

// Lines 8 to 10 are Add.
const std::string kIndex = Gbk("<%@ CodePage=936 %>\r\n"
                               "<!--#include file=\"inc/lib.asp\"-->\r\n"
                               "<html><body>\r\n"
                               "<% Dim total\r\n"
                               "total = Add(1, 2) %>\r\n"
                               "<p>中文 <%= total %></p>\r\n"
                               "<%\r\n"
                               "Function Add(a, b)\r\n"
                               "    Add = a + b\r\n"
                               "End Function\r\n"
                               "Const LIMIT = 5\r\n"
                               "%>\r\n"
                               "</body></html>\r\n");
const std::string kLib = "<%\r\nDim conn\r\nSub Note(s)\r\n  ' total\r\nEnd Sub\r\n%>\r\n";

void Write(const QString &path, const std::string &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

struct Fixture {
    Fixture()
    {
        w.usePrompter(&prompter);
        Write(site.filePath("global.asa"), "");
        Write(site.filePath("index.asp"), kIndex);
        Write(site.filePath("inc/lib.asp"), kLib);
        w.show();
        w.activateWindow();
        opened = w.openProjectFile(site.filePath("index.asp"));
        index = w.tree().FirstTopLevel();
    }
    ~Fixture() { w.usePrompter(nullptr); }

    TreeNode *Node(const std::string &name)
    {
        for (TreeNode *n = w.tree().FirstTopLevel(); n; n = w.tree().NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    // The caret on row `row` of the editor, `column` characters in.
    void Caret(int row, int column)
    {
        QTextCursor c(editor->document()->findBlockByNumber(row));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        editor->setTextCursor(c);
    }
    TreeNode *Selected() { return w.tree().Selected(); }
    QString SelectedText() const { return editor->textCursor().selectedText(); }

    QTemporaryDir site;
    MainWindow w;
    RecordingPrompter prompter;
    QPlainTextEdit *editor = EditorOf(w);
    LineNumberGutter *gutter = PartOf<LineNumberGutter>(w, "lineNumberGutter");
    SearchResultsPanel *results = PartOf<SearchResultsPanel>(w, "searchResults");
    bool opened = false;
    TreeNode *index = nullptr;
};

}  // namespace

class NavigationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    void theMenuShowsEachCommandsKey()
    {
        MainWindow w;
        const std::pair<const char *, const char *> keys[] = {
            {"Action_GoToLine", "Ctrl+G"}, {"Action_GoToDefinition", "F12"},
            {"Action_GoBack", "Alt+Left"}, {"Action_FindInProject", "Ctrl+Shift+F"},
            {"Action_FindNext", "F3"},     {"Action_FindPrevious", "Shift+F3"}};
        for (const auto &[name, key] : keys) {
            auto *action = PartOf<QAction>(w, name);
            QCOMPARE(action->shortcut(), QKeySequence(key));
            QVERIFY(w.navigation().menu()->actions().contains(action));
        }
    }

    void gutterAndStatusShowTheFilesLines()
    {
        Fixture f;
        QVERIFY(f.opened);
        f.w.workspace().SelectNode(f.index);
        QCOMPARE(f.gutter->numberAt(6), 7);
        QCOMPARE(f.gutter->numberAt(7), 8);  // the procedure's lines are the document's too
        f.Caret(5, 6);                       // after "<p>中文 "
        QCOMPARE(StatusPanelOf(f.w, 1)->text(), QString("行 6，列 7"));
        QCOMPARE(StatusPanelOf(f.w, 3)->text(), QString("GBK CRLF"));
        f.w.workspace().SelectNode(f.Node("Add(a, b)"));
        QCOMPARE(f.gutter->numberAt(0), 8);
        // A new row renumbers the rows after it.
        f.Caret(0, 0);
        QTest::keyClick(f.editor, Qt::Key_Return);
        QTRY_COMPARE(f.gutter->numberAt(3), 11);
    }

    void ctrlGSelectsTheLineInTheViewShowingIt()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        f.w.workspace().SelectNode(f.index);
        f.editor->setFocus();
        // The document shows every line of its file, its procedures' too.
        f.prompter.inputs = {"9"};
        QTest::keyClick(f.editor, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(f.Selected(), f.index);
        QCOMPARE(f.SelectedText(), QString("    Add = a + b"));
        QCOMPARE(StatusPanelOf(f.w, 1)->text(), QString("行 9，列 16"));
        // A procedure's view keeps its own lines, and sends the others to
        // the document.
        f.w.workspace().SelectNode(f.Node("Add(a, b)"));
        f.prompter.inputs = {"10"};
        QTest::keyClick(f.editor, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(f.Selected(), f.Node("Add(a, b)"));
        QCOMPARE(f.SelectedText(), QString("End Function"));
        f.prompter.inputs = {"2"};
        QTest::keyClick(f.editor, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(f.Selected(), f.index);
        auto *tree = PartOf<QTreeView>(f.w, "projectTree");
        QCOMPARE(ProjectTreeModel::nodeOf(tree->currentIndex()), f.index);
        // A line the file does not have is refused with a message.
        f.prompter.inputs = {"99"};
        QTest::keyClick(f.editor, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(f.Selected(), f.index);
        QVERIFY(QString::fromStdString(f.prompter.shown.back()).startsWith("行号应为"));
    }

    void f12FollowsIncludesAndNamesAndAltLeftComesBack()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        f.w.workspace().SelectNode(f.index);
        f.editor->setFocus();
        f.Caret(1, 20);  // inside the include directive
        QTest::keyClick(f.editor, Qt::Key_F12);
        QCOMPARE(f.Selected(), f.Node("inc/lib.asp"));
        QTest::keyClick(f.editor, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(f.Selected(), f.index);
        QCOMPARE(f.editor->textCursor().blockNumber(), 1);
        QCOMPARE(f.editor->textCursor().positionInBlock(), 20);

        f.Caret(4, 9);  // on "Add" in "total = Add(1, 2) %>"
        QTest::keyClick(f.editor, Qt::Key_F12);
        QCOMPARE(f.Selected(), f.Node("Add(a, b)"));
        QCOMPARE(f.SelectedText(), QString("Add"));
        QTest::keyClick(f.editor, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(f.Selected(), f.index);
        QCOMPARE(f.editor->textCursor().blockNumber(), 4);

        // Ctrl+click on a name declared in the included file.
        f.w.workspace().SelectNode(f.Node("Note(s)"));
        const QRect at = f.editor->cursorRect(f.editor->document()->find("total"));
        QTest::mouseClick(f.editor->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          at.center() - QPoint(4, 0));
        QCOMPARE(f.Selected(), f.index);
        QCOMPARE(f.SelectedText(), QString("total"));
        QCOMPARE(f.editor->textCursor().blockNumber(), 3);
    }

    void findInProjectListsMatchesAndJumps()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        f.w.workspace().SelectNode(f.index);
        f.editor->setFocus();
        f.prompter.inputs = {"TOTAL"};
        QTest::keyClick(f.editor, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(f.results->isVisible());
        QCOMPARE(f.results->count(), 4);
        QTreeWidget *list = f.results->list();
        QCOMPARE(list->topLevelItem(2)->text(0), QString("index.asp"));
        QCOMPARE(list->topLevelItem(2)->text(1), QString("6"));
        QCOMPARE(list->topLevelItem(2)->text(2), QString("<p>中文 <%= total %></p>"));
        QCOMPARE(list->topLevelItem(3)->text(0), QString("inc/lib.asp"));
        QCOMPARE(list->topLevelItem(3)->text(1), QString("4"));

        const QRect row = list->visualItemRect(list->topLevelItem(3));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(f.Selected(), f.Node("Note(s)"));
        QCOMPARE(f.SelectedText(), QString("total"));
        auto *tree = PartOf<QTreeView>(f.w, "projectTree");
        QVERIFY(tree->isExpanded(f.w.treeModel().indexOf(f.Node("inc/lib.asp"))));

        // F3 goes on round to the first match, Shift+F3 back.
        QTest::keyClick(f.editor, Qt::Key_F3);
        QCOMPARE(f.results->currentRow(), 0);
        QCOMPARE(f.Selected(), f.index);
        QCOMPARE(f.editor->textCursor().blockNumber(), 3);
        QTest::keyClick(f.editor, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(f.results->currentRow(), 3);
        QCOMPARE(f.Selected(), f.Node("Note(s)"));

        // Enter on a row jumps there too.
        list->setFocus();
        f.results->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(f.Selected(), f.index);
        QCOMPARE(f.editor->textCursor().blockNumber(), 4);
    }

    void hoverShowsTheCompletionHint()
    {
        Fixture f;
        f.w.workspace().SelectNode(f.index);
        const int limit = f.editor->document()->find("LIMIT").selectionStart() + 1;
        QCOMPARE(f.w.navigation().hintAt(limit), QString("LIMIT  常量值:5"));
        const int add = f.editor->document()->find("Add(").selectionStart() + 1;
        QCOMPARE(f.w.navigation().hintAt(add), QString("Add(a, b)"));
        const int html = f.editor->document()->find("html").selectionStart() + 1;
        QCOMPARE(f.w.navigation().hintAt(html), QString());

        // The pointer resting on the last letter of the name shows the tooltip.
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        QTextCursor word = f.editor->document()->find("LIMIT");
        word.setPosition(word.selectionEnd() - 1);
        const QPoint at = f.editor->cursorRect(word).center()
                          + QPoint(f.editor->fontMetrics().horizontalAdvance(QChar(u'T')) * 3 / 4, 0);
        QHelpEvent help(QEvent::ToolTip, at, f.editor->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(f.editor->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), QString("LIMIT  常量值:5"));
    }

    // With QASP_NAVIGATION_PICTURE=FILE.png (under xvfb-run): the demo with
    // its gutter and a results list, kept to look at.
    void demoPicture()
    {
        const QString picture = qEnvironmentVariable("QASP_NAVIGATION_PICTURE");
        if (picture.isEmpty())
            QSKIP("no picture asked for");
        MainWindow w;
        RecordingPrompter prompter;
        w.usePrompter(&prompter);
        w.resize(900, 650);
        w.show();
        QVERIFY(w.openProjectFile(QASP_DEMO_DIR "/index.asp"));
        w.workspace().SelectNode(w.tree().FirstTopLevel());
        prompter.inputs = {"strMessage"};
        w.navigation().findInProject();
        w.navigation().stepResult(1);
        w.navigation().stepResult(1);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(200);
        QVERIFY(w.grab().save(picture, "PNG"));
        w.usePrompter(nullptr);
    }
};

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
