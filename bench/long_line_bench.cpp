// One-line pages from 100 KB to 4 MB, as generated or hostile pages hold
// them: a line of quoted attributes coloured as the editor and `qasp colour`
// colour it, and a page of one long Dim line loaded as `qasp tree` loads it.
// The time per byte should stay flat as the line grows (BigO: N).
#include "editor/keyword_store.h"
#include "editor/page_colouring.h"
#include "project/asp_loader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string AttributeLine(size_t bytes)
{
    std::string line;
    while (line.size() < bytes)
        line += "<a href=\"x\">y</a>";
    return line;
}

std::string DimPage(size_t bytes)
{
    std::string page = "<% Dim v0";
    for (int i = 1; page.size() < bytes; ++i)
        page += ", v" + std::to_string(i);
    return page + " %>";
}

void Sizes(benchmark::internal::Benchmark *b)
{
    for (const int64_t kb : {100, 200, 400, 1000, 2000, 4000})
        b->Arg(kb * 1000);
    b->Complexity(benchmark::oN);
}

void BM_ColourAttributeLine(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    const std::string line = AttributeLine(static_cast<size_t>(state.range(0)));
    std::vector<qasp::ColourSpan> spans;
    for (auto _ : state) {
        spans.clear();
        benchmark::DoNotOptimize(
            qasp::ColourPageLine(line, qasp::PageState{}, store, qasp::TextEncoding::Gbk, spans));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ColourAttributeLine)->Apply(Sizes)->Unit(benchmark::kMillisecond);

void BM_LoadDimLine(benchmark::State &state)
{
    const fs::path dir = fs::temp_directory_path() / ("qasp_bench_dim_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string page = DimPage(static_cast<size_t>(state.range(0)));
    std::ofstream(dir / "dim.asp", std::ios::binary) << page;
    qasp::KeywordStore store(":memory:");
    for (auto _ : state) {
        qasp::ProjectTree tree;
        qasp::LoadContext context;
        context.siteRoot = dir;
        context.limits.documentBytes = std::uintmax_t{8} << 20;  // beyond the window's 2 MB
        qasp::LoadAspDocument(tree, nullptr, dir / "dim.asp", store, context);
        benchmark::DoNotOptimize(tree.FirstTopLevel());
    }
    fs::remove_all(dir);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadDimLine)->Apply(Sizes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
