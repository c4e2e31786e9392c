// The keyboard shortcuts: shown beside their commands in the menus, working
// from the editor, and the bars' Alt letters apart from each other.
#include "app/action_table.h"
#include "app/main_window.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include "gui_test_setup.h"
#include "prompted_window.h"

using namespace qasp;
using namespace qasp::app;

namespace {

// The window with its file dialogs answered "cancel" and its questions
// recorded.
class TestWindow : public qasp::testing::PromptedWindow {
public:
    std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
};

QAction *MenuEntry(const QMenuBar *bar, const QString &text)
{
    for (const QAction *title : bar->actions())
        if (title->menu())
            for (QAction *entry : title->menu()->actions())
                if (entry->text() == text)
                    return entry;
    return nullptr;
}

QChar Mnemonic(const QString &text)
{
    const qsizetype at = text.indexOf('&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
}

}  // namespace

class ShortcutsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    void menusShowTheShortcuts()
    {
        TestWindow w;
        const auto *bar = w.findChild<QMenuBar *>("menuBar");
        const std::pair<const char *, QKeySequence> expected[] = {
            {"新建工程(&N)...", QKeySequence("Ctrl+N")},
            {"打开(&Y)", QKeySequence("Ctrl+O")},
            {"保存(&X)", QKeySequence("Ctrl+S")},
            {"撤销", QKeySequence("Ctrl+Z")},
            {"重做", QKeySequence("Ctrl+Y")},
            {"复制(&C)", QKeySequence("Ctrl+C")},
        };
        for (const auto &[text, keys] : expected) {
            const QAction *entry = MenuEntry(bar, QString::fromUtf8(text));
            QVERIFY2(entry, text);
            QCOMPARE(entry->shortcut(), keys);
        }
    }

    void ctrlKeysReachTheirCommandsFromTheEditor()
    {
        TestWindow w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QPlainTextEdit *editor = EditorOf(w);
        editor->setFocus();
        const std::tuple<ActionId, Qt::Key, Qt::KeyboardModifier> keys[] = {
            {ActionId::OPEN, Qt::Key_O, Qt::ControlModifier},
            {ActionId::NewDOC, Qt::Key_N, Qt::ControlModifier},
            {ActionId::OPEN, Qt::Key_O, Qt::AltModifier},  // the tool bar's letter
        };
        for (const auto &[id, key, modifier] : keys) {
            QSignalSpy spy(w.action(id), &QAction::triggered);
            QTest::keyClick(editor, key, modifier);
            QCOMPARE(spy.count(), 1);
        }
        QCOMPARE(editor->toPlainText(), QString());
    }

    // Whatever box was answered last, and however, the window's keys work
    // again at once: 转到行 answered with the keyboard, a line typed, Ctrl+S.
    void shortcutsWorkAfterABoxIsAnsweredWithTheKeyboard()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("page.asp");
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<%\r\nDim a\r\nDim b\r\n%>\r\n");
        file.close();
        MainWindow w;  // the real boxes
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.openProjectFile(page));
        QPlainTextEdit *editor = EditorOf(w);
        editor->setFocus();
        bool answered = false;
        QTimer::singleShot(0, [&answered] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || !box->focusWidget())
                return;
            QTest::keyClick(box->focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box->focusWidget(), "3");
            QTest::keyClick(box->focusWidget(), Qt::Key_Return);
            answered = true;
        });
        QTest::keyClick(editor, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(answered);
        QCOMPARE(editor->textCursor().blockNumber(), 2);
        QTRY_VERIFY(QApplication::activeWindow() == &w);
        QTest::keyClicks(editor, "'");
        QVERIFY(w.workspace().Modified);
        QSignalSpy saved(w.action(ActionId::Save), &QAction::triggered);
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 1);
        QVERIFY(!w.workspace().Modified);
    }

    void f6MovesTheFocusBetweenTheTreeAndTheEditor()
    {
        TestWindow w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QPlainTextEdit *editor = EditorOf(w);
        auto *tree = PartOf<QTreeView>(w, "projectTree");
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_F6);
        QVERIFY(tree->hasFocus());
        QTest::keyClick(tree, Qt::Key_F6);
        QVERIFY(editor->hasFocus());
        QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(tree->hasFocus());
    }

    void toolBarLettersDoNotClashWithTheMenuBar()
    {
        QSet<QChar> menuLetters;
        for (const MenuDef &menu : MenuBarLayout())
            menuLetters.insert(Mnemonic(QString::fromUtf8(menu.title)));
        menuLetters.insert('K');  // the skin menu
        for (const BarItem &item : ToolBarLayout())
            if (item.caption)
                QVERIFY2(!menuLetters.contains(Mnemonic(QString::fromUtf8(item.caption))), item.caption);
    }
};

QTEST_MAIN(ShortcutsTest)
#include "shortcuts_test.moc"
