// The find and replace dialog on the real window: opened by its shortcuts,
// finding across nodes, replacing all and undoing node by node.
#include "app/find_replace_dialog.h"
#include "app/main_window.h"
#include "project/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;

class FindReplaceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    void findsAcrossNodesReplacesAllAndUndoes()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        TreeNode *a = w.tree().AddTopLevel("a.asp");
        w.tree().AttachRecord(a, {"x = total\r\ny = 1"});
        // "' 中文" CR LF "z = Total": the match lies behind two-byte characters.
        TreeNode *b = w.tree().AddChild(a, "b.asp");
        w.tree().AttachRecord(b, {"' \xD6\xD0\xCE\xC4\r\nz = Total"});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.workspace().SelectNode(a);
        editor->setFocus();

        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
        FindReplaceDialog *dialog = w.findReplaceDialog();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        auto *findEdit = PartOf<QLineEdit>(*dialog, "findEdit");
        auto *findNext = PartOf<QPushButton>(*dialog, "findNextButton");
        auto *status = PartOf<QLabel>(*dialog, "statusLabel");
        QVERIFY(!PartOf<QLineEdit>(*dialog, "replaceEdit")->isVisible());
        QCOMPARE(PartOf<QComboBox>(*dialog, "scopeBox")->currentText(), QString("整个工程"));

        findEdit->setText("total");
        findNext->click();
        QCOMPARE(w.tree().Selected(), a);
        QCOMPARE(editor->textCursor().selectedText(), QString("total"));
        findNext->click();
        QCOMPARE(w.tree().Selected(), b);
        QCOMPARE(editor->textCursor().selectedText(), QString("Total"));
        QCOMPARE(editor->textCursor().selectionStart(), 9);  // two Chinese characters count one each here
        findNext->click();
        QCOMPARE(w.tree().Selected(), a);
        QCOMPARE(status->text(), QString("已到达工程末尾，从开头继续查找"));

        // Escape closes the dialog and finds nothing more.
        QTest::keyClick(findEdit, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(w.tree().Selected(), a);
        QCOMPARE(editor->textCursor().selectionStart(), 4);

        editor->moveCursor(QTextCursor::Start);
        QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(dialog->isVisible());
        auto *replaceEdit = PartOf<QLineEdit>(*dialog, "replaceEdit");
        QVERIFY(replaceEdit->isVisible());
        findEdit->setText("total");
        replaceEdit->setText("sum");
        PartOf<QPushButton>(*dialog, "replaceAllButton")->click();
        QCOMPARE(status->text(), QString("已替换 2 处（2 个节点）"));
        QCOMPARE(a->Text(), std::string("x = sum\r\ny = 1"));
        QCOMPARE(b->Text(), std::string("' \xD6\xD0\xCE\xC4\r\nz = sum"));
        QCOMPARE(w.tree().Selected(), a);
        QCOMPARE(editor->toPlainText(), QString("x = sum\ny = 1"));
        QVERIFY(w.workspace().Modified);

        // One Ctrl+Z per node gives back its text.
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(a->Text(), std::string("x = total\r\ny = 1"));
        QVERIFY(!w.workspace().CanUndo());
        w.workspace().SelectNode(b);
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b->Text(), std::string("' \xD6\xD0\xCE\xC4\r\nz = Total"));
        QCOMPARE(editor->toPlainText(), QString("' 中文\nz = Total"));
        QVERIFY(!w.workspace().CanUndo());
    }

    void aBadRegularExpressionIsToldInTheDialog()
    {
        MainWindow w;
        TreeNode *a = w.tree().AddTopLevel("a.asp");
        w.tree().AttachRecord(a, {"x = total"});
        w.workspace().SelectNode(a);
        w.action(ActionId::Replace)->trigger();
        FindReplaceDialog *dialog = w.findReplaceDialog();
        PartOf<QLineEdit>(*dialog, "findEdit")->setText("(total");
        PartOf<QCheckBox>(*dialog, "regexBox")->setChecked(true);
        PartOf<QPushButton>(*dialog, "replaceAllButton")->click();
        QVERIFY(PartOf<QLabel>(*dialog, "statusLabel")->text().startsWith("正则表达式有误"));
        QCOMPARE(a->Text(), std::string("x = total"));
    }
};

QTEST_MAIN(FindReplaceTest)
#include "find_replace_test.moc"
