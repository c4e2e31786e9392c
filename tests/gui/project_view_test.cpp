// The project tree in the real window: the view follows the model, selecting
// a node loads it into the editor, and typing flows back into the node.
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/qt_editor_surface.h"
#include "app/project_tree_model.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/workspace.h"
#include "text/gbk_codec.h"
#include "text_colour.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;

namespace {

std::string Gbk(const char *utf8)
{
    return Utf8ToGbk(utf8);
}

struct Project {
    TreeNode *root, *inc, *fn;
};

Project BuildProject(MainWindow &w)
{
    ProjectTree &tree = w.tree();
    Project p;
    p.root = tree.AddTopLevel("index.asp");
    tree.AttachRecord(p.root, {"Dim gTotal\r\nResponse.Write gTotal", Gbk("链接ASP文件:1个;函数:1个")});
    p.inc = tree.AddChild(p.root, "inc/conn.asp");
    tree.AttachRecord(p.inc, {Gbk("' 连接\r\nDim conn") + "\xFE\xFE", ""});
    p.fn = tree.AddChild(p.root, "ShowList(nItems)");
    tree.SetKind(p.fn, NodeKind::Procedure);
    tree.AttachRecord(
        p.fn, {"Function ShowList(nItems)\r\n\tDim i\r\n\tFor i = 1 To nItems\r\n\tNext\r\nEnd Function",
               Gbk("启始行数:12")});
    return p;
}

QTreeView *ProjectTreeOf(MainWindow &w)
{
    return PartOf<QTreeView>(w, "projectTree");
}

void Select(MainWindow &w, TreeNode *node)
{
    ProjectTreeOf(w)->setCurrentIndex(w.treeModel().indexOf(node));
}

}  // namespace

class ProjectViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UseFreshKeywordStore(); }

    void initTestCase() { PrepareGuiTests(); }

    void viewFollowsTheTree()
    {
        MainWindow w;
        Project p = BuildProject(w);
        QAbstractItemModel *model = ProjectTreeOf(w)->model();
        QCOMPARE(model->rowCount(), 1);
        const QModelIndex root = model->index(0, 0);
        QCOMPARE(model->rowCount(root), 2);
        QCOMPARE(model->index(1, 0, root).data().toString(), QString("ShowList(nItems)"));
        w.tree().SortChildren(p.root);
        QCOMPARE(model->index(0, 0, root).data().toString(), QString("inc/conn.asp"));
        w.tree().Move(p.fn, p.inc);
        QCOMPARE(model->rowCount(root), 1);
        QCOMPARE(model->rowCount(model->index(0, 0, root)), 1);
        w.tree().Delete(p.inc);
        QCOMPARE(model->rowCount(root), 0);
        w.tree().Clear();
        QCOMPARE(model->rowCount(), 0);
    }

    void selectingAFunctionFillsLocalsAndColoursItsText()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        Project p = BuildProject(w);
        Select(w, p.fn);
        QCOMPARE(w.tree().Selected(), p.fn);
        QCOMPARE(w.Memo().Text(), p.fn->Text());
        QVERIFY(w.Memo().IsLive());
        QCOMPARE(StatusPanelOf(w, 0)->text(), QString("启始行数:12"));
        QVERIFY(!w.action(ActionId::New)->isEnabled());
        QVERIFY(!w.action(ActionId::SaveSelect)->isEnabled());
        std::string name = "nitems";
        QCOMPARE(w.store().LookupKeyword(name), int(kLocalVariable));
        QCOMPARE(ColourAt(editor, 2, 17), QColor(0, 128, 0));  // "nItems" in the For line
        QCOMPARE(ColourAt(editor, 2, 2), QColor(0, 0, 255));   // "For"

        const size_t locals = w.store().TableRows(KeywordTable::Other).size();
        Select(w, p.root);
        QCOMPARE(w.store().TableRows(KeywordTable::Other).size(), locals);
        QVERIFY(w.action(ActionId::New)->isEnabled());
        QVERIFY(w.action(ActionId::SaveSelect)->isEnabled());
    }

    void typingStoresIntoTheNodeAtOnce()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        Project p = BuildProject(w);
        Select(w, p.inc);
        const std::string before(p.inc->Text());
        QCOMPARE(w.Memo().Text(), before);  // loading changed nothing
        QTextCursor c = editor->textCursor();
        c.movePosition(QTextCursor::End);
        editor->setTextCursor(c);
        QTest::keyClicks(editor, "x");
        QCOMPARE(p.inc->Text(), before + "x");
        // Chinese arrives through the input method, as a committed string.
        QInputMethodEvent ime;
        ime.setCommitString("中文");
        QApplication::sendEvent(editor, &ime);
        QCOMPARE(p.inc->Text(), before + "x" + Gbk("中文"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "Dim y");
        // Bytes that are not GBK (FE FE) are still there, CR LF between lines.
        QCOMPARE(p.inc->Text(), before + "x" + Gbk("中文") + "\r\nDim y");
        QCOMPARE(p.inc->Text(), w.Memo().Text());
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(p.inc->Text(), w.Memo().Text());
        // Another node's text was never touched.
        QCOMPARE(p.root->Text(), std::string("Dim gTotal\r\nResponse.Write gTotal"));
    }

    // A document's label is renamed in place and its siblings sorted again;
    // a procedure's label opens no editor (its uses would stay behind).
    void renamingALabelResortsItsSiblings()
    {
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Project p = BuildProject(w);
        w.tree().SortChildren(p.root);  // inc/conn.asp, ShowList(nItems)
        QTreeView *view = ProjectTreeOf(w);
        view->expandAll();
        Select(w, p.fn);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        QVERIFY(!view->findChild<QLineEdit *>());

        Select(w, p.inc);
        const std::string incText(p.inc->Text());
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        QLineEdit *editor = view->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, "zz/conn.asp");
        QTest::keyClick(editor, Qt::Key_Return);  // the view commits on the next turn
        QTRY_COMPARE(QString::fromStdString(p.inc->DisplayText()), QString("zz/conn.asp"));
        QCOMPARE(p.root->Children().back().get(), p.inc);  // sorted last now
        QCOMPARE(p.inc->Text(), incText);
        QCOMPARE(w.tree().Selected(), p.inc);
        QCOMPARE(ProjectTreeModel::nodeOf(view->currentIndex()), p.inc);
    }

    void openingTheDemoLoadsItsTreeAndSavingWritesItBack()
    {
        QTemporaryDir dir;
        const QString demo = QFileInfo(QFINDTESTDATA("../../examples/demo/index.asp")).absolutePath();
        QDir().mkpath(dir.filePath("inc"));
        for (const char *name : {"index.asp", "functions.asp", "layout.asp", "inc/conn.asp"})
            QVERIFY(QFile::copy(demo + "/" + name, dir.filePath(QString(name))));
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.action(ActionId::VarNeed)->setChecked(false);
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        QVERIFY(w.action(ActionId::VarNeed)->isChecked());  // the root asks for Option Explicit
        QCOMPARE(ProjectTreeOf(w)->model()->rowCount(), 1);
        QCOMPARE(ProjectTreeOf(w)->model()->index(0, 0).data().toString(), QString("index.asp"));
        QCOMPARE(w.tree().Count(), 23);
        std::string name = "SafeInt";
        QCOMPARE(w.store().LookupKeyword(name), int(kProjectFunction));

        // An edit reaches the file through Action_Save.
        TreeNode *root = w.tree().FirstTopLevel();
        Select(w, root);
        QTextCursor c = editor->textCursor();
        c.movePosition(QTextCursor::End);
        editor->setTextCursor(c);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "<% Dim gAdded %>");
        w.action(ActionId::Save)->trigger();
        QFile saved(dir.filePath("index.asp"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QFile original(demo + "/index.asp");
        QVERIFY(original.open(QIODevice::ReadOnly));
        // The file is what it was with the typed line, and no other file is touched.
        QCOMPARE(saved.readAll(), original.readAll() + "\r\n<% Dim gAdded %>");
        for (const char *other : {"functions.asp", "layout.asp", "inc/conn.asp"}) {
            QFile a(demo + "/" + other), b(dir.filePath(QString(other)));
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QCOMPARE(b.readAll(), a.readAll());
        }
    }

    // A UTF-8 page with a byte-order mark and LF line ends, beside a GBK
    // one: each is shown in its own encoding and saved in it, mark and line
    // ends kept.
    void pagesOfEitherEncodingAreShownAndSavedInTheirOwn()
    {
        QTemporaryDir dir;
        const QByteArray utf8 = "\xEF\xBB\xBF<!--#include file=\"gbk.asp\"-->\n<%\n"
                                "Const TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"\n%>\n";
        const QByteArray gbk = "<%\r\nConst NAME = \"\xD6\xD0\xCE\xC4\"\r\n%>\r\n";
        for (const auto &[name, bytes] : {std::pair{"page.asp", utf8}, std::pair{"gbk.asp", gbk}}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        MainWindow w;
        QVERIFY(w.openProjectFile(dir.filePath("page.asp")));
        TreeNode *root = w.tree().FirstTopLevel();
        Select(w, root);
        QPlainTextEdit *editor = EditorOf(w);
        QVERIFY(editor->toPlainText().contains(QString::fromUtf8("\"中文\"")));
        QCOMPARE(StatusPanelOf(w, 3)->text(), QString("UTF-8 LF"));
        Select(w, root->FirstChild());
        QVERIFY(editor->toPlainText().contains(QString::fromUtf8("\"中文\"")));
        QCOMPARE(StatusPanelOf(w, 3)->text(), QString("GBK CRLF"));

        // Chinese typed into the UTF-8 page is written in UTF-8, with LF.
        Select(w, root);
        QTextCursor c(editor->document()->findBlockByNumber(3));
        editor->setTextCursor(c);
        QInputMethodEvent typed;  // as an input method commits Chinese
        typed.setCommitString(QString::fromUtf8("' 说明"));
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
        w.action(ActionId::Save)->trigger();
        QFile saved(dir.filePath("page.asp"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QByteArray expected = utf8;
        expected.insert(expected.indexOf("%>"), "' \xE8\xAF\xB4\xE6\x98\x8E\n");
        QCOMPARE(saved.readAll(), expected);
        QFile other(dir.filePath("gbk.asp"));
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), gbk);
    }

    void aPageTheLayoutCannotKeepIsShownAsSuch()
    {
        QTemporaryDir dir;
        QFile page(dir.filePath("page.asp"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html>\r\n<%\r\nDim x\r\n%>\r\n</html>\r\n");
        page.close();
        MainWindow w;
        QVERIFY(w.openProjectFile(page.fileName()));
        const QModelIndex index = ProjectTreeOf(w)->model()->index(0, 0);
        QVERIFY(index.data(Qt::ToolTipRole).toString().contains("以工程格式保存(别存为、另存)会改变此文件"));
        QVERIFY(index.data(Qt::ToolTipRole).toString().contains("GBK CRLF"));
        Select(w, w.tree().FirstTopLevel());
        QCOMPARE(StatusPanelOf(w, 3)->text(), QString("GBK CRLF"));
        // The whole page is shown, HTML and all.
        QCOMPARE(w.Memo().Text(), std::string("<html>\r\n<%\r\nDim x\r\n%>\r\n</html>\r\n"));
    }

    void programmaticSelectionMovesTheView()
    {
        MainWindow w;
        Project p = BuildProject(w);
        w.workspace().SelectNode(p.inc);
        QCOMPARE(ProjectTreeModel::nodeOf(ProjectTreeOf(w)->currentIndex()), p.inc);
        QCOMPARE(w.Memo().Text(), p.inc->Text());
    }
};

QTEST_MAIN(ProjectViewTest)
#include "project_view_test.moc"
