// Typing into the real editor: colours, the completion list, indentation.
#include "app/interface_font.h"
#include "app/main_window.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/workspace.h"
#include "text_colour.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QtTest>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;

namespace {

struct Fixture {
    MainWindow w;
    TreeNode *doc;
    Fixture()
    {
        doc = w.Tree().AddTopLevel("index.asp");
        w.Tree().AttachRecord(doc, {"Dim gOld\r\nx = 1\r\n\r\n"});
        w.show();
        w.Workspace().SelectNode(doc);
        w.CMemo->setFocus();
    }
    void CaretAtLine(int line)
    {
        QTextCursor c(w.CMemo->document()->findBlockByNumber(line));
        c.movePosition(QTextCursor::EndOfBlock);
        w.CMemo->setTextCursor(c);
    }
};

}  // namespace

class TypingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UseFreshKeywordStore(); }

    void initTestCase() { PrepareGuiTests(); }

    void completionAcceptsTheStoreSpellingInItsColour()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        f.CaretAtLine(2);
        QTest::keyClicks(f.w.CMemo, "resp");
        QVERIFY(f.w.HList->isVisible());
        QCOMPARE(f.w.HList->currentItem()->text(), QString("Response"));
        QVERIFY(!f.w.HList->currentItem()->icon().isNull());
        QTest::keyClick(f.w.CMemo, Qt::Key_Space);
        QVERIFY(!f.w.HList->isVisible());
        QCOMPARE(f.w.CMemo->document()->findBlockByNumber(2).text(), QString("Response"));
        QCOMPARE(ColourAt(f.w.CMemo, 2, 3), QColor(0, 0, 255));
        QCOMPARE(f.doc->Text(), std::string("Dim gOld\r\nx = 1\r\nResponse\r\n"));
        QVERIFY(!f.w.StatusPanels[2]->text().isEmpty());
        QCOMPARE(f.w.StatusPanels[1]->text(), QString("行列:(  2,  8)"));
    }

    void upAndDownMoveInTheListNotTheCaret()
    {
        Fixture f;
        f.CaretAtLine(2);
        QTest::keyClicks(f.w.CMemo, "Le");
        QVERIFY(f.w.HList->count() >= 2);
        const int caret = f.w.CMemo->textCursor().position();
        QTest::keyClick(f.w.CMemo, Qt::Key_Up);
        QCOMPARE(f.w.HList->currentRow(), f.w.HList->count() - 1);
        QCOMPARE(f.w.CMemo->textCursor().position(), caret);
        QTest::keyClick(f.w.CMemo, Qt::Key_Down);
        QCOMPARE(f.w.HList->currentRow(), 0);
        QTest::keyClick(f.w.CMemo, Qt::Key_Left);
        QVERIFY(!f.w.HList->isVisible());
        QCOMPARE(f.w.CMemo->textCursor().position(), caret - 1);  // the key went on
    }

    void typedCharactersTakeTheColourOfTheirContext()
    {
        Fixture f;
        f.CaretAtLine(2);
        QTest::keyClicks(f.w.CMemo, "zz = \"ab\" ' c");
        // zz = "ab" ' c: the string purple, the rest (an apostrophe after code) black.
        QCOMPARE(ColourAt(f.w.CMemo, 2, 6), QColor(128, 0, 128));
        QCOMPARE(ColourAt(f.w.CMemo, 2, 10), QColor(0, 0, 0));
        QCOMPARE(ColourAt(f.w.CMemo, 2, 12), QColor(0, 0, 0));
        QTest::keyClick(f.w.CMemo, Qt::Key_Return);
        QTest::keyClicks(f.w.CMemo, "' note");
        QCOMPARE(ColourAt(f.w.CMemo, 3, 3), QColor(192, 192, 192));
    }

    void leavingAChangedDimLineRecoloursIt()
    {
        Fixture f;
        f.CaretAtLine(0);
        QTest::keyClicks(f.w.CMemo, ", gNew");
        QTest::keyClick(f.w.CMemo, Qt::Key_Down);
        std::string name = "gNew";
        QCOMPARE(f.w.Store().LookupKeyword(name), int(kGlobalVariable));
        QCOMPARE(ColourAt(f.w.CMemo, 0, 11), QColor(255, 0, 0));
        QCOMPARE(f.w.CMemo->textCursor().blockNumber(), 1);
    }

    void tabIndentsSelectedLinesAsOneChange()
    {
        Fixture f;
        QTextCursor c(f.w.CMemo->document());
        c.setPosition(1);
        c.setPosition(f.w.CMemo->document()->findBlockByNumber(2).position(), QTextCursor::KeepAnchor);
        f.w.CMemo->setTextCursor(c);
        QTest::keyClick(f.w.CMemo, Qt::Key_Tab);
        QCOMPARE(f.doc->Text(), std::string("\tDim gOld\r\n\tx = 1\r\n\t\r\n"));
        QTest::keyClick(f.w.CMemo, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.doc->Text(), std::string("Dim gOld\r\nx = 1\r\n\r\n"));
    }
};

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
