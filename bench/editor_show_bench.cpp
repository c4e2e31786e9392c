// The editor widget showing a 20,000-line text coloured (offscreen).
#include "app/interface_font.h"
#include "app/memo_editor.h"
#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "generated_text.h"

#include <QApplication>
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
    qasp::app::MemoEditor memo(&edit);
    for (auto _ : state) {
        qasp::ColourText(memo, text, store);
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
    qasp::app::MemoEditor memo(&edit);
    qasp::ColourText(memo, qasp::bench::GeneratedVBScript(20000), store);
    for (auto _ : state)
        benchmark::DoNotOptimize(memo.Text());
}
BENCHMARK(BM_EditorTextOf20000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    qasp::app::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
