#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "generated_text.h"
#include "text/line_split.h"

#include <benchmark/benchmark.h>

namespace {

// Runs for a 20,000-line text, every word looked up in the store.
void BM_ColourRuns20000Lines(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    const std::string text = qasp::bench::GeneratedVBScript(20000);
    const auto lines = qasp::SplitTextLines(text);
    for (auto _ : state) {
        size_t runs = 0;
        for (std::string_view line : lines)
            runs += qasp::ColourLineRuns(line, store).size();
        benchmark::DoNotOptimize(runs);
    }
}
BENCHMARK(BM_ColourRuns20000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
