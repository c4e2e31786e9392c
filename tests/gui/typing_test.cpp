// Typing into the real editor: colours, the completion list, indentation.
#include "app/interface_font.h"
#include "app/legend_label.h"
#include "app/main_window.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/action_id.h"
#include "project/workspace.h"
#include "text_colour.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include "app/app_settings.h"
#include <QStandardPaths>
#include <QtTest>

#include "gui_test_setup.h"

using namespace qasp;
using namespace qasp::app;

namespace {

struct Fixture {
    MainWindow w;
    QPlainTextEdit *editor = EditorOf(w);
    QListWidget *list = PartOf<QListWidget>(w, "completionList");
    TreeNode *doc;
    Fixture()
    {
        doc = w.tree().AddTopLevel("index.asp");
        w.tree().AttachRecord(doc, {"<% Dim gOld\r\nx = 1\r\n\r\n"});
        w.show();
        w.workspace().SelectNode(doc);
        editor->setFocus();
    }
    void CaretAtLine(int line)
    {
        QTextCursor c(editor->document()->findBlockByNumber(line));
        c.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(c);
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
        QTest::keyClicks(f.editor, "resp");
        QVERIFY(f.list->isVisible());
        QCOMPARE(f.list->currentItem()->text(), QString("Response"));
        QVERIFY(!f.list->currentItem()->icon().isNull());
        QTest::keyClick(f.editor, Qt::Key_Tab);
        QVERIFY(!f.list->isVisible());
        QCOMPARE(f.editor->document()->findBlockByNumber(2).text(), QString("Response"));
        QCOMPARE(ColourAt(f.editor, 2, 3), QColor(0, 0, 255));
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\nResponse\r\n"));
        QVERIFY(!StatusPanelOf(f.w, 2)->text().isEmpty());
        QCOMPARE(StatusPanelOf(f.w, 1)->text(), QString("行 3，列 9"));
    }

    void upAndDownMoveInTheListNotTheCaret()
    {
        Fixture f;
        f.CaretAtLine(2);
        QTest::keyClicks(f.editor, "Le");
        QVERIFY(f.list->count() >= 2);
        const int caret = f.editor->textCursor().position();
        QTest::keyClick(f.editor, Qt::Key_Up);
        QCOMPARE(f.list->currentRow(), f.list->count() - 1);
        QCOMPARE(f.editor->textCursor().position(), caret);
        QTest::keyClick(f.editor, Qt::Key_Down);
        QCOMPARE(f.list->currentRow(), 0);
        QTest::keyClick(f.editor, Qt::Key_Left);
        QVERIFY(!f.list->isVisible());
        QCOMPARE(f.editor->textCursor().position(), caret - 1);  // the key went on
    }

    void typedCharactersTakeTheColourOfTheirContext()
    {
        Fixture f;
        f.CaretAtLine(2);
        QTest::keyClicks(f.editor, "zz = \"ab\" ' c");
        // zz = "ab" ' c: the string purple, an apostrophe after code starts
        // a comment.
        QCOMPARE(ColourAt(f.editor, 2, 6), QColor(128, 0, 128));
        QCOMPARE(ColourAt(f.editor, 2, 0), QColor(0, 0, 0));
        QCOMPARE(ColourAt(f.editor, 2, 12), ShownColour(ColourCategory::Comment));
        QTest::keyClick(f.editor, Qt::Key_Escape);  // the list offers words for "c"
        QTest::keyClick(f.editor, Qt::Key_Return);
        QTest::keyClicks(f.editor, "' note");
        QCOMPARE(ColourAt(f.editor, 3, 3), ShownColour(ColourCategory::Comment));
    }

    void mixedPageLinesAreColouredAsTheyAreTyped()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        TreeNode *doc = w.tree().AddTopLevel("mixed.asp");
        w.tree().AttachRecord(doc, {"<p>a</p>\r\n<%\r\n\r\n<b>If</b>"});
        w.show();
        w.workspace().SelectNode(doc);
        editor->setFocus();
        QCOMPARE(ColourAt(editor, 0, 0), ShownColour(ColourCategory::Tag));
        QCOMPARE(ColourAt(editor, 3, 3), ShownColour(ColourCategory::Keyword));  // still server code

        QTextCursor c(editor->document()->findBlockByNumber(2));
        editor->setTextCursor(c);
        QTest::keyClicks(editor, "If zzq Then");
        QCOMPARE(editor->document()->findBlockByNumber(2).text(), QString("If zzq Then"));
        QCOMPARE(ColourAt(editor, 2, 0), ShownColour(ColourCategory::Keyword));
        QCOMPARE(ColourAt(editor, 2, 3), ShownColour(ColourCategory::Default));

        // Closing the block turns the line after it back into HTML.
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, "%>");
        QCOMPARE(ColourAt(editor, 2, 11), ShownColour(ColourCategory::Delimiter));
        QCOMPARE(ColourAt(editor, 3, 0), ShownColour(ColourCategory::Tag));
        QCOMPARE(ColourAt(editor, 3, 3), ShownColour(ColourCategory::Default));

        // The node's own history still undoes the typing, colours following.
        for (int i = 0; i < 10 && w.action(ActionId::Undo)->isEnabled(); ++i)
            w.action(ActionId::Undo)->trigger();
        QCOMPARE(doc->Text(), std::string("<p>a</p>\r\n<%\r\n\r\n<b>If</b>"));
        QCOMPARE(ColourAt(editor, 3, 3), ShownColour(ColourCategory::Keyword));
        QVERIFY(!editor->document()->isUndoAvailable());
    }

    void aDarkEditorTakesTheDarkScheme()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        TreeNode *doc = w.tree().AddTopLevel("dark.asp");
        w.tree().AttachRecord(doc, {"<% If %>"});
        w.show();
        w.workspace().SelectNode(doc);
        QPalette p = editor->palette();
        p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        editor->setPalette(p);
        const ColourValue keyword = DarkScheme().Of(ColourCategory::Keyword);
        const QColor shown(RedOf(keyword), GreenOf(keyword), BlueOf(keyword));
        QCOMPARE(ColourAt(editor, 0, 3), shown);
        // The legend names the scheme's colours (each caption then made
        // readable on the legend's own ground).
        const QList<LegendLabel *> labels = PartOf<QWidget>(w, "colourLegend")->findChildren<LegendLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [&](const LegendLabel *l) {
            return l->text() == "VB关键字" && l->categoryColour() == shown;
        }));
    }

    void settingsOverrideTheSchemeColours()
    {
        AppSettings settings;
        settings.setValue("colours/keyword", "#123456");
        settings.setValue("colours/comment", "not a colour");
        settings.sync();
        {
            MainWindow w;
            QPlainTextEdit *editor = EditorOf(w);
            TreeNode *doc = w.tree().AddTopLevel("set.asp");
            w.tree().AttachRecord(doc, {"<% If ' note"});
            w.show();
            w.workspace().SelectNode(doc);
            QCOMPARE(ColourAt(editor, 0, 3), QColor(0x12, 0x34, 0x56));
            QCOMPARE(ColourAt(editor, 0, 7), ShownColour(ColourCategory::Comment));  // the default kept
        }
        settings.remove("colours");
    }

    void chineseTypedOnACommentLineIsComment()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        TreeNode *doc = w.tree().AddTopLevel("zh.asp");
        w.tree().AttachRecord(doc, {"<%\r\n"});
        w.show();
        w.workspace().SelectNode(doc);
        editor->setFocus();
        editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(1)));
        QTest::keyClicks(editor, "' ");
        for (const QString &zh : {QString::fromUtf8("中"), QString::fromUtf8("文")}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, zh);
            QApplication::sendEvent(editor, &press);
        }
        QTest::keyClicks(editor, "If");
        QCOMPARE(editor->document()->findBlockByNumber(1).text(), QString::fromUtf8("' 中文If"));
        QCOMPARE(ColourAt(editor, 1, 2), ShownColour(ColourCategory::Comment));
        QCOMPARE(ColourAt(editor, 1, 4), ShownColour(ColourCategory::Comment));
    }

    void leavingAChangedDimLineRecoloursIt()
    {
        Fixture f;
        f.CaretAtLine(0);
        QTest::keyClicks(f.editor, ", gNew");
        QTest::keyClick(f.editor, Qt::Key_Down);
        std::string name = "gNew";
        QCOMPARE(f.w.store().LookupKeyword(name), int(kGlobalVariable));
        QCOMPARE(ColourAt(f.editor, 0, 14), ShownColour(ColourCategory::Global));
        QCOMPARE(f.editor->textCursor().blockNumber(), 1);
    }

    // A name declared on a line colours its uses: on screen at once, further
    // down while the window is idle; a name declared nowhere stays plain.
    void aNewNameColoursItsUsesOnScreenAtOnceAndBelowSoon()
    {
        MainWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        std::string text = "<%\r\nDim a\r\nzNew = 1 : c = 1\r\n";
        for (int i = 0; i < 3000; ++i)
            text += "x = x + 1\r\n";
        text += "zNew = 2\r\n%>";
        TreeNode *doc = w.tree().AddTopLevel("long.asp");
        w.tree().AttachRecord(doc, {text});
        w.show();
        w.workspace().SelectNode(doc);
        editor->setFocus();
        QTextCursor c(editor->document()->findBlockByNumber(1));
        c.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(c);
        QTest::keyClicks(editor, ", zNew");
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(editor->textCursor().blockNumber(), 2);
        QCOMPARE(ColourAt(editor, 2, 0), ShownColour(ColourCategory::Global));
        QCOMPARE(ColourAt(editor, 2, 11), ShownColour(ColourCategory::Default));
        QTRY_VERIFY(!w.Memo().IsRecolouring());
        QCOMPARE(ColourAt(editor, 3003, 0), ShownColour(ColourCategory::Global));
        QCOMPARE(ColourAt(editor, 3002, 0), ShownColour(ColourCategory::Default));
    }

    void tabIndentsSelectedLinesAsOneChange()
    {
        Fixture f;
        QTextCursor c(f.editor->document());
        c.setPosition(1);
        c.setPosition(f.editor->document()->findBlockByNumber(2).position(), QTextCursor::KeepAnchor);
        f.editor->setTextCursor(c);
        QTest::keyClick(f.editor, Qt::Key_Tab);
        QCOMPARE(f.doc->Text(), std::string("\t<% Dim gOld\r\n\tx = 1\r\n\t\r\n"));
        QTest::keyClick(f.editor, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\n\r\n"));
    }

    // Typed at speed, with the list showing on every word: nothing eaten,
    // nothing replaced that was already whole.
    void theListNeverEatsACharacter()
    {
        Fixture f;
        for (const char *name : {"nPage", "w"})
            f.w.store().ReplaceKeyword(KeywordTable::Public, name, "", kGlobalVariable);
        f.w.store().RefreshKeywords();
        f.CaretAtLine(2);
        QTest::keyClicks(f.editor, "If nPage > 1 Then nPage = 1");
        QTest::keyClick(f.editor, Qt::Key_Return);
        QTest::keyClicks(f.editor, "w = w + 0");
        QCOMPARE(f.editor->document()->findBlockByNumber(2).text(), QString("If nPage > 1 Then nPage = 1"));
        QCOMPARE(f.editor->document()->findBlockByNumber(3).text(), QString("w = w + 0"));
        QCOMPARE(f.doc->Text(),
                 std::string("<% Dim gOld\r\nx = 1\r\nIf nPage > 1 Then nPage = 1\r\nw = w + 0\r\n"));
        // Punctuation closes the list and is typed: the prefix stays.
        QTest::keyClick(f.editor, Qt::Key_Return);
        QTest::keyClicks(f.editor, "resp.");
        QCOMPARE(f.editor->document()->findBlockByNumber(4).text(), QString("resp."));
        QTest::keyClick(f.editor, Qt::Key_Escape);
        QVERIFY(!f.list->isVisible());
    }

    // Only Tab, Enter or a click take a completion; with the option on, a
    // space or punctuation takes it too, and is typed after it.
    void aWordTheUserDidNotChooseIsNeverWritten()
    {
        Fixture f;
        f.CaretAtLine(2);
        QTest::keyClicks(f.editor, "a");
        QVERIFY(f.list->isVisible());
        QTest::keyClicks(f.editor, " = resp");
        QVERIFY(f.list->isVisible());
        QTest::keyClicks(f.editor, "(");
        QVERIFY(!f.list->isVisible());
        QCOMPARE(f.editor->document()->findBlockByNumber(2).text(), QString("a = resp("));
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\na = resp(\r\n"));

        AppSettings().setValue("editor/completeOnWordEnd", true);
        f.w.applyOptions();
        QTest::keyClick(f.editor, Qt::Key_Return);
        QTest::keyClicks(f.editor, "resp.");
        QCOMPARE(f.editor->document()->findBlockByNumber(3).text(), QString("Response."));
        AppSettings().remove("editor/completeOnWordEnd");
        f.w.applyOptions();
    }

    // The status bar's row and column follow the caret as it moves, as a
    // selection grows and as the user types.
    void theCaretsPlaceIsShownLive()
    {
        Fixture f;
        QLabel *place = StatusPanelOf(f.w, 1);
        f.CaretAtLine(1);
        QCOMPARE(place->text(), QString("行 2，列 6"));
        QTest::keyClick(f.editor, Qt::Key_Left);
        QCOMPARE(place->text(), QString("行 2，列 5"));
        QTest::keyClick(f.editor, Qt::Key_Up);
        QCOMPARE(place->text(), QString("行 1，列 5"));
        QTest::keyClick(f.editor, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(place->text(), QString("行 1，列 6"));
        QTest::keyClick(f.editor, Qt::Key_End);
        QTest::keyClicks(f.editor, "  ");
        QCOMPARE(place->text(), QString("行 1，列 14"));
        QTest::keyClick(f.editor, Qt::Key_Return);
        QCOMPARE(place->text(), QString("行 2，列 1"));
    }

    void enterIndentsAndClosersStepBack()
    {
        Fixture f;
        f.w.store().ReplaceKeyword(KeywordTable::Public, "ok", "", kGlobalVariable);
        f.w.store().RefreshKeywords();
        f.CaretAtLine(2);
        for (const char *line : {"If ok Then", "ok = 0"}) {
            QTest::keyClicks(f.editor, line);
            QTest::keyClick(f.editor, Qt::Key_Return);
        }
        QTest::keyClicks(f.editor, "End If");
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\nIf ok Then\r\n\tok = 0\r\nEnd If\r\n"));
        QCOMPARE(f.editor->textCursor().positionInBlock(), 6);
    }

    // Shift+Tab on one line outdents it and the focus stays in the editor.
    void shiftTabOutdentsTheLineItIsOn()
    {
        Fixture f;
        f.w.tree().AttachRecord(f.doc, {"<%\r\n\t\tx = 1\r\n"});
        f.w.workspace().SelectNode(f.doc);
        f.w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        f.editor->setFocus();
        QVERIFY(f.editor->hasFocus());
        f.CaretAtLine(1);
        QTest::keyClick(f.editor, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.doc->Text(), std::string("<%\r\n\tx = 1\r\n"));
        QVERIFY(f.editor->hasFocus());
        QTest::keyClicks(f.editor, "2");
        QCOMPARE(f.doc->Text(), std::string("<%\r\n\tx = 12\r\n"));
    }

    void ctrlSlashTogglesCommentsAndUndoesInOneStep()
    {
        Fixture f;
        QTextCursor c(f.editor->document());
        c.setPosition(f.editor->document()->findBlockByNumber(1).position());
        c.setPosition(f.editor->document()->findBlockByNumber(2).position() + 0, QTextCursor::KeepAnchor);
        c.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
        f.editor->setTextCursor(c);
        QTest::keyClick(f.editor, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\n'x = 1\r\n\r\n"));
        QCOMPARE(ColourAt(f.editor, 1, 2), ShownColour(ColourCategory::Comment));
        QTest::keyClick(f.editor, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\n\r\n"));
        QTest::keyClick(f.editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\n'x = 1\r\n\r\n"));
        QCOMPARE(f.editor->toPlainText(), QString("<% Dim gOld\n'x = 1\n\n"));
        QTest::keyClick(f.editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\n\r\n"));
    }

    void theCaretOnABlockKeywordMarksItsPartner()
    {
        Fixture f;
        f.w.tree().AttachRecord(f.doc, {"<% If a Then\r\n\tx = Len(\"\u4e2d\" & (a))\r\nEnd If"});
        f.w.workspace().SelectNode(f.doc);
        QTextCursor c(f.editor->document()->findBlockByNumber(0));
        c.setPosition(4);
        f.editor->setTextCursor(c);
        QList<QTextEdit::ExtraSelection> marks = f.editor->extraSelections();
        QCOMPARE(marks.size(), 2);
        QCOMPARE(marks[0].cursor.selectedText(), QString("If"));
        QCOMPARE(marks[1].cursor.selectedText(), QString("End If"));
        // Columns count characters, a Chinese one as one.
        const QTextBlock line = f.editor->document()->findBlockByNumber(1);
        c.setPosition(line.position() + line.text().indexOf("(a"));
        f.editor->setTextCursor(c);
        marks = f.editor->extraSelections();
        QCOMPARE(marks.size(), 2);
        QCOMPARE(marks[1].cursor.selectionStart(), line.position() + line.text().indexOf("a))") + 1);
        c.setPosition(line.position() + 1);
        f.editor->setTextCursor(c);
        QVERIFY(f.editor->extraSelections().isEmpty());
    }

    void altWithALetterTypesNothing()
    {
        Fixture f;
        f.CaretAtLine(1);
        for (const Qt::Key key : {Qt::Key_Q, Qt::Key_J, Qt::Key_3})
            QTest::keyClick(f.editor, key, Qt::AltModifier);
        QCOMPARE(f.doc->Text(), std::string("<% Dim gOld\r\nx = 1\r\n\r\n"));
        QVERIFY(!f.list->isVisible());
    }
};

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
