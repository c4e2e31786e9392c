// Undo and redo in the real editor: each step gives back exactly the text
// before one action of the user's, whatever the program wrote meanwhile.
#include "app/main_window.h"
#include "project/workspace.h"
#include "text/gbk_codec.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <random>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;

namespace {

void CaretToLineEnd(QPlainTextEdit *edit, int line)
{
    QTextCursor c(edit->document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::EndOfBlock);
    edit->setTextCursor(c);
}

int LineStarting(QPlainTextEdit *edit, const QString &start)
{
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
        if (b.text().startsWith(start))
            return b.blockNumber();
    return -1;
}

// Types `text` key by key; a character without a key of its own comes as
// the input method would send it, as a key event carrying its text.
void Type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Ctrl+Z (or Ctrl+Y) until the node's text stops changing.
int PressUntilStill(MainWindow &w, TreeNode *node, Qt::Key key)
{
    int presses = 0;
    for (std::string last; last != node->Text() && presses < 10000; ++presses) {
        last = node->Text();
        QTest::keyClick(EditorOf(w), key, Qt::ControlModifier);
    }
    return presses;
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    void undoAfterNewLinesGivesBackTheDeclarations()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.show();
        QVERIFY(w.openProjectFile(QFINDTESTDATA("../../examples/demo/index.asp")));
        TreeNode *root = w.tree().FirstTopLevel();
        w.workspace().SelectNode(root);
        const std::string original(root->Text());
        const int line = LineStarting(editor, "Const PAGE_TITLE");
        QVERIFY(line >= 0);
        editor->setFocus();
        CaretToLineEnd(editor, line);
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "' abc");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "' def");
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(root->Text().find("Const NAME_MAX_LEN = 20\r\n") != std::string::npos);
        QCOMPARE(w.Memo().Text(), root->Text());
        PressUntilStill(w, root, Qt::Key_Z);
        QCOMPARE(root->Text(), original);
        QVERIFY(!w.action(ActionId::Undo)->isEnabled());
        QVERIFY(w.action(ActionId::Redo)->isEnabled());
    }

    void undoOfAPastedFunctionGivesBackTextAndLabel()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.show();
        TreeNode *doc = w.tree().AddTopLevel("index.asp");
        w.tree().AttachRecord(doc, {"Dim a"});
        TreeNode *fn = w.tree().AddChild(doc, "Old(x)");
        w.tree().SetKind(fn, NodeKind::Procedure);
        const std::string original = "Function Old(x)\r\n\tOld = x\r\nEnd Function";
        w.tree().AttachRecord(fn, {original});
        w.workspace().SelectNode(fn);
        editor->setFocus();
        editor->selectAll();
        QApplication::clipboard()->setText(
            "Function FormatMoney(n, nDigits)\n\tFormatMoney = n\nEnd Function");
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        // Leaving the head line renames the node and spells its words anew.
        editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(0)));
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(fn->DisplayText(), std::string("FormatMoney(n, nDigits)"));

        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fn->Text(), original);
        QCOMPARE(w.Memo().Text(), original);
        QCOMPARE(fn->DisplayText(), std::string("Old(x)"));
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(fn->Text(),
                 std::string("Function FormatMoney(n, nDigits)\r\n\tFormatMoney = n\r\nEnd Function"));
        QCOMPARE(fn->DisplayText(), std::string("FormatMoney(n, nDigits)"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing to redo
        QCOMPARE(fn->DisplayText(), std::string("FormatMoney(n, nDigits)"));
    }

    void menuCommandsUndoAndRedo()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.show();
        TreeNode *doc = w.tree().AddTopLevel("index.asp");
        w.tree().AttachRecord(doc, {"x = 1"});
        w.workspace().SelectNode(doc);
        editor->setFocus();
        CaretToLineEnd(editor, 0);
        QTest::keyClicks(editor, "23");
        QCOMPARE(doc->Text(), std::string("x = 123"));
        w.action(ActionId::Undo)->trigger();
        QCOMPARE(doc->Text(), std::string("x = 1"));
        w.action(ActionId::Redo)->trigger();
        QCOMPARE(doc->Text(), std::string("x = 123"));
        // Another node and back: its history stays with it.
        TreeNode *other = w.tree().AddTopLevel("other.asp");
        w.tree().AttachRecord(other, {""});
        w.workspace().SelectNode(other);
        QVERIFY(!w.action(ActionId::Undo)->isEnabled());
        w.workspace().SelectNode(doc);
        w.action(ActionId::Undo)->trigger();
        QCOMPARE(doc->Text(), std::string("x = 1"));
    }

    // Random sessions of typing, deleting, pasting, completing, indenting
    // and moving about: undoing everything gives back the first bytes,
    // redoing everything the last.
    void undoAllAndRedoAllAreExact()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const std::string start =
            Utf8ToGbk("Dim gOld, 名字\r\nx = 1   \r\nFunction F(a)\r\n\tF = a\r\nEnd Function\r\n");
        const QStringList words = {"resp",      "dim gnew", "\"中文\"", "' 注释 ",
                                   "if x then", "  ",       "len(",     "Le"};
        const QStringList pastes = {"a\nb", "Function G(b)\n\tG = b\nEnd Function\n", "中", "\t\t",
                                    "x = \"%>\""};
        for (unsigned seed = 1; seed <= 12; ++seed) {
            std::mt19937 random(seed);
            const auto pick = [&random](int n) {
                return static_cast<int>(random() % static_cast<unsigned>(n));
            };
            w.tree().Clear();
            TreeNode *doc = w.tree().AddTopLevel("index.asp");
            w.tree().AttachRecord(doc, {start});
            w.workspace().SelectNode(doc);
            editor->setFocus();
            for (int step = 0; step < 40; ++step) {
                const int lines = editor->document()->blockCount();
                switch (pick(8)) {
                case 0:
                case 1: Type(editor, words[pick(words.size())]); break;
                case 2: QTest::keyClick(editor, Qt::Key_Backspace); break;
                case 3:
                    QApplication::clipboard()->setText(pastes[pick(pastes.size())]);
                    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
                    break;
                case 4:  // a completion list opened and accepted
                    QTest::keyClicks(editor, "Resp");
                    QTest::keyClick(editor, Qt::Key_Space);
                    break;
                case 5: {  // block indent or outdent
                    QTextCursor c(editor->document()->findBlockByNumber(pick(lines)));
                    c.setPosition(editor->document()->findBlockByNumber(pick(lines)).position(),
                                  QTextCursor::KeepAnchor);
                    editor->setTextCursor(c);
                    QTest::keyClick(editor, Qt::Key_Tab, pick(2) ? Qt::ShiftModifier : Qt::NoModifier);
                    break;
                }
                case 6: QTest::keyClick(editor, pick(2) ? Qt::Key_Down : Qt::Key_Up); break;
                default: QTest::keyClick(editor, Qt::Key_Return); break;
                }
                QCOMPARE(w.Memo().Text(), doc->Text());
            }
            const std::string final(doc->Text());
            PressUntilStill(w, doc, Qt::Key_Z);
            QCOMPARE(doc->Text(), start);
            QCOMPARE(w.Memo().Text(), start);
            PressUntilStill(w, doc, Qt::Key_Y);
            QCOMPARE(doc->Text(), final);
            QCOMPARE(w.Memo().Text(), final);
        }
    }

    void aFailedOpenLeavesNothingToSave()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("index.asp");
        // A page with a NUL byte is no text: it is refused.
        const QByteArray bytes("<%\r\nDim a\0\r\n%>\r\n<p>html</p>\r\n", 27);
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        MainWindow w;
        QTimer::singleShot(0, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        QVERIFY(!w.openProjectFile(page));
        QCOMPARE(w.tree().Count(), 0);
        QVERIFY(!w.workspace().Modified);
        QVERIFY(!w.action(ActionId::Save)->isEnabled());
        QVERIFY(!w.action(ActionId::SaveSingle)->isEnabled());
        w.action(ActionId::Save)->trigger();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
