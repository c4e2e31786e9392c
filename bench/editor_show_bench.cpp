// The editor widget showing a 20,000-line text coloured (offscreen).
#include "app/main_window.h"
#include "app/qt_editor_surface.h"
#include "project/project_tree.h"
#include "project/workspace.h"
#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "generated_text.h"
#include "gui_bench_main.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

namespace {

void BM_EditorShows20000ColouredLines(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    const std::string text = qasp::bench::GeneratedVBScript(20000);
    QPlainTextEdit edit;
    edit.setFont(qasp::app::InterfaceFont());
    edit.resize(600, 400);
    edit.show();
    qasp::app::QtEditorSurface surface(&edit);
    for (auto _ : state) {
        qasp::ColourText(surface, text, store);
        QApplication::processEvents();  // the first layout and paint
    }
}
BENCHMARK(BM_EditorShows20000ColouredLines)->Unit(benchmark::kMillisecond)->Iterations(5);

// What every change of the editor costs while a node is live: its whole
// text read back as node bytes.
void BM_EditorTextOf20000Lines(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    QPlainTextEdit edit;
    qasp::app::QtEditorSurface surface(&edit);
    qasp::ColourText(surface, qasp::bench::GeneratedVBScript(20000), store);
    for (auto _ : state)
        benchmark::DoNotOptimize(surface.Text());
}
BENCHMARK(BM_EditorTextOf20000Lines)->Unit(benchmark::kMillisecond);

// One typed character in the middle of a 20,000-line node, with everything
// the window does for it: key preview, typing colour, completion list,
// storing the text into the node, the caret's row and column.
void BM_KeystrokeIn20000LineNode(benchmark::State &state)
{
    qasp::app::MainWindow window;
    qasp::TreeNode *doc = window.tree().AddTopLevel("big.asp");
    window.tree().AttachRecord(doc, {qasp::bench::GeneratedVBScript(20000)});
    window.show();
    window.workspace().SelectNode(doc);
    auto *editor = window.findChild<QPlainTextEdit *>("editor");
    QTextCursor c(editor->document()->findBlockByNumber(10000));
    c.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(c);
    editor->setFocus();
    int i = 0;
    for (auto _ : state) {
        const QString text = (i++ % 8 == 7) ? QString(" ") : QString("x");
        QKeyEvent press(QEvent::KeyPress, text == " " ? Qt::Key_Space : Qt::Key_X, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &press);
    }
}
BENCHMARK(BM_KeystrokeIn20000LineNode)->Unit(benchmark::kMillisecond)->Iterations(50);

// A declaration line left changed: the keyword store is scanned again and
// the whole node re-coloured, its names may have changed category.
void BM_RecolourAfterRescan20000Lines(benchmark::State &state)
{
    qasp::app::MainWindow window;
    qasp::TreeNode *doc = window.tree().AddTopLevel("big.asp");
    window.tree().AttachRecord(doc, {qasp::bench::GeneratedAspPage(20000)});
    window.show();
    window.workspace().SelectNode(doc);
    for (auto _ : state)
        window.Memo().KeywordsChanged();
}
BENCHMARK(BM_RecolourAfterRescan20000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

// Showing a node that is one long line (a page with inline data), or a
// very long page: what the window does when the node is selected, up to
// its first paint.
void SelectNodeOf(benchmark::State &state, const std::string &text)
{
    qasp::app::MainWindow window;
    qasp::TreeNode *doc = window.tree().AddTopLevel("big.asp");
    window.tree().AttachRecord(doc, {text});
    qasp::TreeNode *other = window.tree().AddTopLevel("other.asp");
    window.tree().AttachRecord(other, {"Dim a"});
    window.show();
    for (auto _ : state) {
        window.workspace().SelectNode(doc);
        QApplication::processEvents();
        state.PauseTiming();
        window.workspace().SelectNode(other);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_SelectNodeOfOneLongLine(benchmark::State &state)
{
    SelectNodeOf(state, "x = \"" + std::string(static_cast<size_t>(state.range(0)), 'a') + "\"");
}
BENCHMARK(BM_SelectNodeOfOneLongLine)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_SelectNodeOfManyLines(benchmark::State &state)
{
    SelectNodeOf(state, qasp::bench::GeneratedVBScript(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SelectNodeOfManyLines)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char **argv)
{
    return qasp::bench::RunGuiBenchmarks(argc, argv);
}
