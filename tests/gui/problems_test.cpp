// The page's problems in the real window: underlined where they are, listed
// in the 问题 panel (a click jumps, F8 / Shift+F8 walk), counted in the
// status bar, marked in the tree; an edit that fixes one clears it after
// the pause, and the message shows under the resting pointer.
#include "app/main_window.h"
#include "app/problems_controller.h"
#include "app/problems_panel.h"
#include "app/project_tree_model.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
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

// Line 5 declares a variable nothing uses (a warning), line 6 misspells
// one under Option Explicit (an error).
const std::string kIndex = "<% Option Explicit %>\r\n"
                           "<!--#include file=\"inc/lib.asp\"-->\r\n"
                           "<% Dim total : total = 1\r\n"
                           "Sub Show()\r\n"
                           "  Dim unused\r\n"
                           "  Response.Write totl\r\n"
                           "End Sub\r\n"
                           "%>\r\n";
// A Sub without its name: a syntax error at the end of line 3.
const std::string kLib = "<%\r\nDim conn\r\nSub\r\nEnd Sub\r\n%>\r\n";

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
        w.workspace().SelectNode(index);
    }
    ~Fixture() { w.usePrompter(nullptr); }

    TreeNode *Node(const std::string &name)
    {
        for (TreeNode *n = w.tree().FirstTopLevel(); n; n = w.tree().NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    // Waits for the pause and the check that follows it.
    bool Checked()
    {
        return QTest::qWaitFor([this] { return !w.problems().busy(); }, 5000);
    }
    // The underlines' texts with their colours' red parts (220 error, 225 warning).
    QStringList Underlines() const
    {
        QStringList out;
        for (const QTextEdit::ExtraSelection &s : editor->extraSelections())
            if (s.format.underlineStyle() == QTextCharFormat::WaveUnderline)
                out.append(QString("%1 %2").arg(s.cursor.selectedText(), s.format.underlineColor().name()));
        return out;
    }
    int RowAbout(const QString &word) const
    {
        for (int row = 0; row < panel->count(); ++row)
            if (panel->list()->topLevelItem(row)->text(3).contains(word))
                return row;
        return -1;
    }
    QString SelectedText() const { return editor->textCursor().selectedText(); }

    QTemporaryDir site;
    MainWindow w;
    RecordingPrompter prompter;
    QPlainTextEdit *editor = EditorOf(w);
    ProblemsPanel *panel = PartOf<ProblemsPanel>(w, "problems");
    QLabel *counts = PartOf<QLabel>(w, "problemCounts");
    bool opened = false;
    TreeNode *index = nullptr;
};

const QString kRed = ProblemColour(true).name();
const QString kAmber = ProblemColour(false).name();

}  // namespace

class ProblemsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    void problemsAreUnderlinedListedCountedAndMarkedInTheTree()
    {
        Fixture f;
        QVERIFY(f.opened);
        QVERIFY(f.Checked());
        QCOMPARE(f.counts->text(), QString("错误 2，警告 1"));
        QVERIFY(f.panel->isVisible());
        QCOMPARE(f.panel->count(), 3);
        // The page's rows first, each with its file, line and code.
        QTreeWidgetItem *misspelt = f.panel->list()->topLevelItem(f.RowAbout("totl"));
        QVERIFY(misspelt);
        QCOMPARE(misspelt->text(0), QString("错误"));
        QCOMPARE(misspelt->text(1), QString("index.asp"));
        QCOMPARE(misspelt->text(2), QString("6"));
        QCOMPARE(misspelt->text(4), QString("800A01F4"));
        QTreeWidgetItem *sub = f.panel->list()->topLevelItem(2);
        QCOMPARE(sub->text(1), QString("inc/lib.asp"));
        QCOMPARE(sub->text(2), QString("3"));

        // The shown node's problems only, each word in its colour.
        QCOMPARE(f.Underlines(), QStringList({"unused " + kAmber, "totl " + kRed}));

        // The file with an error is marked in the tree; the page's too.
        ProjectTreeModel &model = f.w.treeModel();
        const QModelIndex lib = model.indexOf(f.Node("inc/lib.asp"));
        QCOMPARE(model.data(lib, Qt::ForegroundRole).value<QColor>(), ProblemColour(true));
        QVERIFY(model.data(lib, Qt::ToolTipRole).toString().contains("错误 1 个"));
        QVERIFY(model.data(model.indexOf(f.index), Qt::FontRole).value<QFont>().bold());

        // The library's error marks its line's last character: the name is
        // missing after "Sub".
        f.w.workspace().SelectNode(f.Node("inc/lib.asp"));
        QTRY_COMPARE(f.Underlines(), QStringList({"b " + kRed}));
    }

    void aClickJumpsThereAndTheFixClearsTheMarkAfterThePause()
    {
        Fixture f;
        QVERIFY(f.Checked());
        f.w.workspace().SelectNode(f.Node("inc/lib.asp"));
        const int row = f.RowAbout("totl");
        QVERIFY(row >= 0);
        QTreeWidget *list = f.panel->list();
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(f.w.tree().Selected(), f.index);
        QCOMPARE(f.SelectedText(), QString("totl"));
        QCOMPARE(f.editor->textCursor().blockNumber(), 5);

        // Typing over the misspelt name: nothing is checked on the keystroke.
        QTest::keyClicks(f.editor, "total");
        QVERIFY(f.w.problems().busy());
        QCOMPARE(f.panel->count(), 3);
        QVERIFY(f.Checked());
        QCOMPARE(f.counts->text(), QString("错误 1，警告 1"));
        QCOMPARE(f.Underlines(), QStringList({"unused " + kAmber}));
        QCOMPARE(f.RowAbout("totl"), -1);
        // The page itself has no error left; the library still has.
        ProjectTreeModel &model = f.w.treeModel();
        QVERIFY(!model.data(model.indexOf(f.index), Qt::FontRole).value<QFont>().bold());
        QVERIFY(model.data(model.indexOf(f.Node("inc/lib.asp")), Qt::FontRole).value<QFont>().bold());
    }

    void f8AndShiftF8WalkTheProblems()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        QVERIFY(f.Checked());
        QCOMPARE(PartOf<QAction>(f.w, "Action_NextProblem")->shortcut(), QKeySequence("F8"));
        f.editor->setFocus();
        QTest::keyClick(f.editor, Qt::Key_F8);
        QCOMPARE(f.panel->currentRow(), 0);
        QCOMPARE(f.SelectedText(), QString("unused"));
        QTest::keyClick(f.editor, Qt::Key_F8);
        QCOMPARE(f.SelectedText(), QString("totl"));
        QTest::keyClick(f.editor, Qt::Key_F8);
        QCOMPARE(f.w.tree().Selected(), f.Node("inc/lib.asp"));
        QCOMPARE(f.editor->textCursor().blockNumber(), 2);
        // Round to the first, and back.
        QTest::keyClick(f.editor, Qt::Key_F8);
        QCOMPARE(f.w.tree().Selected(), f.index);
        QCOMPARE(f.SelectedText(), QString("unused"));
        QTest::keyClick(f.editor, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(f.panel->currentRow(), 2);
        QCOMPARE(f.w.tree().Selected(), f.Node("inc/lib.asp"));
    }

    void theRestingPointerShowsTheMessage()
    {
        Fixture f;
        QVERIFY(f.Checked());
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        QTextCursor word = f.editor->document()->find("totl");
        QVERIFY(f.w.problems().messageAt(word.selectionStart() + 1).contains("totl"));
        QCOMPARE(f.w.problems().messageAt(word.selectionEnd()), QString());
        word.setPosition(word.selectionStart() + 1);
        const QPoint at = f.editor->cursorRect(word).center();
        QHelpEvent help(QEvent::ToolTip, at, f.editor->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(f.editor->viewport(), &help);
        QTRY_VERIFY(QToolTip::text().contains("800A01F4"));
    }

    void rowsOutOfSightAreMarkedOnceScrolledTo()
    {
        QTemporaryDir site;
        std::string page = "<%\r\n";
        for (int i = 0; i < 3000; ++i)
            page += "Response.Write " + std::to_string(i) + "\r\n";
        page += "x = = 1\r\n%>\r\n";  // line 3002
        Write(site.filePath("long.asp"), page);
        MainWindow w;
        RecordingPrompter prompter;
        w.usePrompter(&prompter);
        w.show();
        QVERIFY(w.openProjectFile(site.filePath("long.asp")));
        w.workspace().SelectNode(w.tree().FirstTopLevel());
        QVERIFY(QTest::qWaitFor([&] { return !w.problems().busy(); }, 5000));
        QCOMPARE(PartOf<ProblemsPanel>(w, "problems")->count(), 1);
        QPlainTextEdit *editor = EditorOf(w);
        QVERIFY(editor->extraSelections().isEmpty());
        editor->verticalScrollBar()->setValue(editor->verticalScrollBar()->maximum());
        QCOMPARE(editor->extraSelections().size(), 1);
        QCOMPARE(editor->extraSelections().front().cursor.block().blockNumber(), 3001);
        w.usePrompter(nullptr);
    }

    // With QASP_PROBLEMS_PICTURE=FILE.png: the window with its marks and
    // its 问题 list, kept to look at.
    void problemsPicture()
    {
        const QString picture = qEnvironmentVariable("QASP_PROBLEMS_PICTURE");
        if (picture.isEmpty())
            QSKIP("no picture asked for");
        Fixture f;
        f.w.resize(900, 650);
        QVERIFY(f.Checked());
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        QTest::qWait(200);
        QVERIFY(f.w.grab().save(picture, "PNG"));
    }
};

QTEST_MAIN(ProblemsTest)

#include "problems_test.moc"
