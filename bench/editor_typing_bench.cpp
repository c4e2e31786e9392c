// What one key costs in the window at 1,000, 20,000 and 100,000 lines, near
// the bottom of the node: a typed character, a caret move between lines, and
// leaving a changed Dim line (the node's declarations scanned again). The
// cost should not grow with the node.
#include "app/main_window.h"
#include "app/qt_editor_surface.h"
#include "project/project_tree.h"
#include "project/workspace.h"
#include "generated_text.h"
#include "gui_bench_main.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <benchmark/benchmark.h>

namespace {

struct OpenNode {
    qasp::app::MainWindow window;
    QPlainTextEdit *editor = nullptr;

    // `inScript`: the lines inside one <% %> block, so that their
    // declarations are scanned into the store; else the page is plain text
    // around no server code.
    explicit OpenNode(int lines, bool inScript = false)
    {
        qasp::TreeNode *doc = window.tree().AddTopLevel("big.asp");
        const std::string code = qasp::bench::GeneratedVBScript(inScript ? lines - 2 : lines);
        window.tree().AttachRecord(doc, {inScript ? "<%\r\n" + code + "\r\n%>" : code});
        window.show();
        window.workspace().SelectNode(doc);
        editor = window.findChild<QPlainTextEdit *>("editor");
        editor->setFocus();
        QApplication::processEvents();
    }

    // The end of a line near the bottom of the node; `dim` picks a Dim line.
    void PutCaretNearBottom(bool dim)
    {
        int row = editor->document()->blockCount() - 24;
        while (dim && !editor->document()->findBlockByNumber(row).text().contains("Dim"))
            ++row;
        QTextCursor c(editor->document()->findBlockByNumber(row));
        c.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(c);
    }

    void Press(Qt::Key key, const QString &text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &press);
    }

    // From the line below a Dim line: up to its end and a character typed.
    void ChangeTheDimLineAbove()
    {
        Press(Qt::Key_Up);
        Press(Qt::Key_End);
        Press(Qt::Key_X, "x");
    }
};

void BM_Keystroke(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)));
    node.PutCaretNearBottom(false);
    int i = 0;
    for (auto _ : state) {
        if (i++ % 8 == 7)
            node.Press(Qt::Key_Space, " ");
        else
            node.Press(Qt::Key_X, "x");
    }
}
BENCHMARK(BM_Keystroke)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Iterations(200);

// What the user waits for: a typed character until the window has painted
// the change (what the key set off, timers due at once included, then the
// editor's visible area drawn). Drawn whole, so an upper bound of a real
// screen update, which draws the changed lines only.
void BM_KeyToPaint(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)));
    node.PutCaretNearBottom(false);
    node.editor->viewport()->repaint();
    int i = 0;
    for (auto _ : state) {
        const bool space = i++ % 8 == 7;
        node.Press(space ? Qt::Key_Space : Qt::Key_X, space ? " " : "x");
        QApplication::processEvents();
        node.editor->viewport()->repaint();
    }
}
BENCHMARK(BM_KeyToPaint)->Arg(1000)->Arg(66000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Iterations(200);

// Down and up between two unchanged lines: no rescan, the status bar's row
// and column, the completion list's place.
void BM_CaretMove(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)));
    node.PutCaretNearBottom(false);
    int i = 0;
    for (auto _ : state)
        node.Press(i++ % 2 ? Qt::Key_Up : Qt::Key_Down);
}
BENCHMARK(BM_CaretMove)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Iterations(200);

// Enter near the bottom, and what follows it before the next key: the
// line numbers counted again for the new row.
void BM_NewLine(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)), true);
    node.PutCaretNearBottom(false);
    for (auto _ : state) {
        node.Press(Qt::Key_Return, "\r");
        QApplication::processEvents();
        state.PauseTiming();
        node.Press(Qt::Key_Backspace);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewLine)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Iterations(50);

// A dot typed after a name near the bottom, which looks for the object the
// name was Set to: `set` picks a name Set a few lines above (the member
// list shows), else a name Set nowhere (every line above is searched).
void BM_DotAfterName(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)), true);
    node.PutCaretNearBottom(false);
    node.Press(Qt::Key_Return);
    for (const QChar c : QString(state.range(1) ? "rs" : "zz"))
        node.Press(Qt::Key_A, c);        // the key code is not read, the text is
    node.Press(Qt::Key_Escape, "\x1b");  // the name as typed, not the list's
    for (auto _ : state) {
        node.Press(Qt::Key_Period, ".");
        state.PauseTiming();
        node.Press(Qt::Key_Escape, "\x1b");
        node.Press(Qt::Key_Backspace);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DotAfterName)
    ->Args({1000, 1})
    ->Args({100000, 1})
    ->Args({1000, 0})
    ->Args({100000, 0})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(50);

// A character typed at the end of a Dim line (untimed), then Down: the line
// is left changed, its names are declared again and their uses re-coloured.
// The second argument puts the page inside a server block: the node's
// declarations then go through the keyword store as well.
void BM_LeaveChangedDimLine(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)), state.range(1) != 0);
    node.PutCaretNearBottom(true);
    for (auto _ : state) {
        state.PauseTiming();
        node.ChangeTheDimLineAbove();
        state.ResumeTiming();
        node.Press(Qt::Key_Down);
    }
}
BENCHMARK(BM_LeaveChangedDimLine)
    ->Args({1000, 0})
    ->Args({20000, 0})
    ->Args({100000, 0})
    ->Args({1000, 1})
    ->Args({20000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(20);

// The same, and then the idle sweep that colours the new name's uses off
// the screen, to its end: work done in slices of a few milliseconds between
// events, growing with the page but never holding up a key.
void BM_LeaveChangedDimLineAndColourEveryUse(benchmark::State &state)
{
    OpenNode node(static_cast<int>(state.range(0)), true);
    node.PutCaretNearBottom(true);
    const qasp::app::QtEditorSurface &memo = node.window.Memo();
    for (auto _ : state) {
        state.PauseTiming();
        node.ChangeTheDimLineAbove();
        state.ResumeTiming();
        node.Press(Qt::Key_Down);
        while (memo.IsRecolouring())
            QApplication::processEvents();
    }
}
BENCHMARK(BM_LeaveChangedDimLineAndColourEveryUse)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char **argv)
{
    return qasp::bench::RunGuiBenchmarks(argc, argv);
}
