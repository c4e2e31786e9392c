// Parsing VBScript: a generated page of 100,000 lines (HTML around server
// blocks, GBK) and the same amount of plain code, as bytes per second. The
// time per byte should stay flat as the page grows.
#include "generated_text.h"
#include "vbscript/parser.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_ParsePage(benchmark::State &state)
{
    const std::string page = qasp::bench::GeneratedAspPage(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(qasp::vbs::ParseFile(page, 0, qasp::TextEncoding::Gbk));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ParsePage)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ParseCode(benchmark::State &state)
{
    const std::string code = qasp::bench::GeneratedVBScript(static_cast<int>(state.range(0)));
    const qasp::vbs::SourcePiece piece{qasp::vbs::PieceKind::Code, code, 0, 0, 1, 1, qasp::TextEncoding::Gbk};
    for (auto _ : state)
        benchmark::DoNotOptimize(qasp::vbs::ParsePage({&piece, 1}));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(code.size()));
}
BENCHMARK(BM_ParseCode)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
