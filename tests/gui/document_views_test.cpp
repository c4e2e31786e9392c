// A file is one document and the tree's nodes are views of it: what the
// editor shows is what is saved, whichever view was edited, through undo,
// redo and saves, and text the file's encoding cannot hold never gets in.
#include "app/encoded_qstring.h"
#include "app/main_window.h"
#include "project/document_assembly.h"
#include "project/find_replace.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QtTest>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The shipped demo site, copied: its pages are GBK with CR LF line ends.
void CopyDemo(const QString &to)
{
    const QString demo = QStringLiteral(QASP_DEMO_DIR);
    QDirIterator it(demo, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        Write(to + "/" + QDir(demo).relativeFilePath(file), ReadAll(file));
    }
}

struct Window {
    Window()
    {
        w.usePrompter(&prompter);
        w.show();
    }
    ~Window() { w.usePrompter(nullptr); }

    TreeNode *Node(const std::string &name)
    {
        for (TreeNode *n = w.tree().FirstTopLevel(); n; n = w.tree().NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    // The caret at the end of row `row`.
    void CaretAtEndOf(int row)
    {
        QTextCursor c(editor->document()->findBlockByNumber(row));
        c.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(c);
    }
    // The node's text as the editor shows it.
    QString Shown(const TreeNode *node) const
    {
        return FromBytes(node->Text(), node->Encoding()).replace("\r\n", "\n");
    }

    MainWindow w;
    qasp::testing::RecordingPrompter prompter;
    QPlainTextEdit *editor = EditorOf(w);
};

QList<QByteArray> LinesOf(const QByteArray &bytes)
{
    return bytes.split('\n');
}

}  // namespace

class DocumentViewsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    // Three lines typed after "Call PageFooter()" (line 40 of the demo's
    // index.asp, with functions after it) stand together in the file.
    void typedLinesLandWhereTheyWereTyped()
    {
        QTemporaryDir site;
        CopyDemo(site.path());
        const QByteArray before = ReadAll(site.filePath("index.asp"));
        Window f;
        QVERIFY(f.w.openProjectFile(site.filePath("index.asp")));
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        QCOMPARE(f.w.tree().Selected(), f.w.tree().FirstTopLevel());  // on screen at once
        QCOMPARE(f.editor->document()->findBlockByNumber(39).text(), QString("Call PageFooter()"));
        f.editor->setFocus();
        f.CaretAtEndOf(39);
        for (const char *line : {"Response.Write 1", "Response.Write 2", "Response.Write 3"}) {
            QTest::keyClick(f.editor, Qt::Key_Return);
            QTest::keyClicks(f.editor, line);
        }
        QTest::keyClick(f.editor, Qt::Key_S, Qt::ControlModifier);
        QList<QByteArray> expected = LinesOf(before);
        expected.insert(40, "Response.Write 1\r");
        expected.insert(41, "Response.Write 2\r");
        expected.insert(42, "Response.Write 3\r");
        QCOMPARE(LinesOf(ReadAll(site.filePath("index.asp"))), expected);
        QVERIFY(!f.w.isWindowModified());
    }

    // Replacing in the whole project changes several files; one Ctrl+Z, in
    // any of them, takes it all back.
    void oneUndoTakesBackAReplaceInTheWholeProject()
    {
        QTemporaryDir site;
        CopyDemo(site.path());
        Window f;
        QVERIFY(f.w.openProjectFile(site.filePath("index.asp")));
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        std::vector<std::pair<TreeNode *, std::string>> before;
        for (TreeNode *n = f.w.tree().FirstTopLevel(); n; n = f.w.tree().NextInPreOrder(n))
            if (n->IsDocument() && !n->IsRepeat())
                before.emplace_back(n, std::string(n->Text()));
        FindRequest r;
        r.pattern = "ExecuteRows";  // declared in inc/conn.asp, called in index.asp
        r.replacement = "QueryRows";
        r.scope = FindScope::Project;
        const FindOutcome o = ReplaceAllMatches(f.w.workspace(), r);
        QVERIFY(o.replaced > 1);
        size_t changed = 0;
        for (const auto &[node, text] : before)
            changed += node->Text() != text;
        QVERIFY(changed > 1);
        QCOMPARE(f.w.action(ActionId::Undo)->text(), QString("撤销 全部替换"));
        // From another of the files it changed than the one shown.
        TreeNode *conn = f.Node("inc/conn.asp");
        QVERIFY(conn && conn != f.w.tree().Selected());
        f.w.workspace().SelectNode(conn);
        f.editor->setFocus();
        QTest::keyClick(f.editor, Qt::Key_Z, Qt::ControlModifier);
        for (const auto &[node, text] : before)
            QCOMPARE(node->Text(), std::string_view(text));
        QCOMPARE(f.editor->toPlainText(), f.Shown(conn));
        QCOMPARE(f.w.action(ActionId::Redo)->text(), QString("重做 全部替换"));
    }

    // A UTF-8 page with a GBK <meta> deep in it (inside code that writes
    // another page) stays UTF-8, and what is pasted into it is saved as UTF-8.
    void aUtf8PageWithAGbkMetaInsideStaysUtf8()
    {
        QTemporaryDir site;
        QByteArray page = "<%@ Language=VBScript %>\r\n<p>\xE4\xB8\xAD\xE6\x96\x87</p>\r\n<%\r\n";
        for (int i = 0; i < 50; ++i)
            page += "x = x + 1\r\n";
        page += "Response.Write \"<meta http-equiv=\"\"Content-Type\"\" content=\"\"text/html; "
                "charset=gbk\"\">\"\r\n%>\r\n";
        Write(site.filePath("index.asp"), page);
        Window f;
        QVERIFY(f.w.openProjectFile(site.filePath("index.asp")));
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        QCOMPARE(f.w.tree().FirstTopLevel()->Encoding(), TextEncoding::Utf8);
        QCOMPARE(f.editor->document()->findBlockByNumber(1).text(), QString("<p>中文</p>"));
        f.CaretAtEndOf(1);
        f.editor->insertPlainText(QString("粘贴的文字"));
        QTest::keyClick(f.editor, Qt::Key_S, Qt::ControlModifier);
        const QByteArray saved = ReadAll(site.filePath("index.asp"));
        QByteArray expected = page;
        expected.insert(expected.indexOf("</p>") + 4, QString("粘贴的文字").toUtf8());
        QCOMPARE(saved, expected);
    }

    // A character the file's encoding cannot hold is refused and named; the
    // document (and so the file) never holds a '?' in its place.
    void aCharacterTheEncodingCannotHoldIsRefused()
    {
        QTemporaryDir site;
        Write(site.filePath("index.asp"), "<%\r\nx = 1\r\n%>\r\n");
        Window f;
        QVERIFY(f.w.openProjectFile(site.filePath("index.asp")));
        TreeNode *root = f.w.tree().FirstTopLevel();
        QCOMPARE(root->Encoding(), TextEncoding::Gbk);
        f.CaretAtEndOf(1);
        f.editor->insertPlainText(
            QString::fromUtf8("\xF0\x9F\x98\x80 \xE4\xB8\xAD"));  // an emoji, a Chinese character
        QCOMPARE(root->Text(), std::string_view("<%\r\nx = 1\r\n%>\r\n"));
        QCOMPARE(f.editor->toPlainText(), QString("<%\nx = 1\n%>\n"));
        QVERIFY(StatusPanelOf(f.w, 2)->text().contains(QString::fromUtf8("\xF0\x9F\x98\x80")));
        QVERIFY(StatusPanelOf(f.w, 2)->text().contains("GBK"));
        f.editor->insertPlainText(QString("中"));  // what it can hold goes in
        QCOMPARE(root->Text(), std::string_view("<%\r\nx = 1\xD6\xD0\r\n%>\r\n"));
    }

    // Random edits through the document's view and a procedure's view,
    // interleaved with undo, redo and saves: each view always shows its
    // part of one text, and a save writes exactly that text.
    void randomEditsThroughBothViewsSaveWhatTheViewsShow()
    {
        QTemporaryDir site;
        const QByteArray page = "<html>\r\n<% Dim a\r\nFunction F(x)\r\n  F = x * 2\r\nEnd Function\r\n"
                                "a = F(1) %>\r\n<p>\xD6\xD0</p>\r\n<%\r\nSub S()\r\nEnd Sub\r\n%>\r\n";
        Write(site.filePath("index.asp"), page);
        Window f;
        QVERIFY(f.w.openProjectFile(site.filePath("index.asp")));
        TreeNode *root = f.w.tree().FirstTopLevel();
        TreeNode *fn = f.Node("F(x)");
        QVERIFY(fn);
        QRandomGenerator random(20261208);
        const QStringList pieces = {"a", "Dim b", "\n", "中", "  ", "End Function\n", "'"};
        for (int step = 0; step < 300; ++step) {
            TreeNode *view = random.bounded(2) ? root : fn;
            if (f.w.tree().Selected() != view)
                f.w.workspace().SelectNode(view);
            f.editor->setFocus();
            QTextCursor c = f.editor->textCursor();
            c.setPosition(static_cast<int>(random.bounded(f.editor->document()->characterCount())));
            f.editor->setTextCursor(c);
            switch (random.bounded(6)) {
            case 0:
            case 1: f.editor->insertPlainText(pieces[random.bounded(pieces.size())]); break;
            case 2: QTest::keyClick(f.editor, Qt::Key_Backspace); break;
            case 3: QTest::keyClick(f.editor, Qt::Key_Z, Qt::ControlModifier); break;
            case 4: QTest::keyClick(f.editor, Qt::Key_Y, Qt::ControlModifier); break;
            case 5:
                f.w.action(ActionId::Save)->trigger();
                QCOMPARE(ReadAll(site.filePath("index.asp")), QByteArray::fromStdString(FileBytesOf(*root)));
                break;
            }
            QVERIFY2(f.editor->toPlainText() == f.Shown(view), qPrintable(QString("step %1").arg(step)));
            const TextRange r = root->Doc()->Ranges().At(fn->Record()->Range);
            QCOMPARE(fn->Text(), std::string_view(root->Doc()->Text()).substr(r.begin, r.Length()));
        }
        f.w.action(ActionId::Save)->trigger();
        QCOMPARE(ReadAll(site.filePath("index.asp")), QByteArray::fromStdString(FileBytesOf(*root)));
    }
};

QTEST_MAIN(DocumentViewsTest)
#include "document_views_test.moc"
