// The keyboard shortcuts: shown beside their commands in the menus, working
// from the editor, and the bars' Alt letters apart from each other.
#include "app/action_table.h"
#include "app/main_window.h"
#include "recording_prompter.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QToolBar>
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
