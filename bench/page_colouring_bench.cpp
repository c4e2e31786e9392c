#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "editor/page_colouring.h"
#include "generated_text.h"
#include "site/page_structure.h"
#include "text/line_split.h"

#include <benchmark/benchmark.h>

namespace {

struct Page {
    explicit Page(int lineCount)
        : text(qasp::bench::GeneratedAspPage(lineCount)),
          lines(qasp::SplitTextLines(text))
    {
    }
    std::string text;
    std::vector<std::string_view> lines;
};

// One keystroke's work in the editor: the line coloured from its start
// state, the line after it only when the end state changed.
void BM_RecolourOneLineOf5000(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    const Page page(5000);
    std::vector<qasp::PageState> starts;
    std::vector<qasp::ColourSpan> spans;
    qasp::PageState s;
    for (std::string_view line : page.lines) {
        starts.push_back(s);
        spans.clear();
        s = qasp::ColourPageLine(line, s, store, qasp::TextEncoding::Gbk, spans);
    }
    size_t row = 0;
    for (auto _ : state) {
        row = (row + 7) % page.lines.size();
        spans.clear();
        const qasp::PageState end =
            qasp::ColourPageLine(page.lines[row], starts[row], store, qasp::TextEncoding::Gbk, spans);
        benchmark::DoNotOptimize(end);
        benchmark::DoNotOptimize(spans.data());
    }
}
BENCHMARK(BM_RecolourOneLineOf5000)->Unit(benchmark::kMicrosecond);

void BM_ColourPage100000Lines(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    const Page page(100000);
    std::vector<qasp::ColourSpan> spans;
    for (auto _ : state) {
        qasp::PageState s;
        size_t count = 0;
        for (std::string_view line : page.lines) {
            spans.clear();
            s = qasp::ColourPageLine(line, s, store, qasp::TextEncoding::Gbk, spans);
            count += spans.size();
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.text.size()));
}
BENCHMARK(BM_ColourPage100000Lines)->Unit(benchmark::kMillisecond);

// The colouring the editor used before, for comparison: the server code
// found by the page structure, then runs of the whole text.
void BM_OldMaskedRuns100000Lines(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    const Page page(100000);
    for (auto _ : state) {
        const std::string script = qasp::VBScriptOnly(page.text, qasp::ScanPageStructure(page.text, true));
        benchmark::DoNotOptimize(qasp::ColourTextRuns(page.text, store, script).size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.text.size()));
}
BENCHMARK(BM_OldMaskedRuns100000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
