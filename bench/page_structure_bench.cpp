// Scanning a page's structure: a real-looking page, and pages of one unit
// repeated, where a rescan per unit would make the time grow with the square
// of the size. The time per byte should stay flat as the size doubles.
#include "site/page_structure.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const char *const kUnits[] = {"<!--#include file=\"", "<script a=\"", "<!-- x",   "<% \"",
                              "<% Sub a\r\n",         "<%End Sub:",   "<%Sub a:", "<%Class C:Sub a:"};

void BM_ScanRepeatedUnit(benchmark::State &state)
{
    const std::string unit = kUnits[state.range(0)];
    std::string page;
    while (page.size() < static_cast<size_t>(state.range(1)))
        page += unit;
    for (auto _ : state)
        benchmark::DoNotOptimize(qasp::ScanPageStructure(page, true));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ScanRepeatedUnit)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {1 << 18, 1 << 20}})
    ->Unit(benchmark::kMillisecond);

void BM_ScanPage(benchmark::State &state)
{
    const std::string block = "<html><body>\r\n<!-- #include file=\"inc/conn.asp\" -->\r\n<% Dim a, b\r\n"
                              "a = \"%> in a string\" ' %> ends it\r\n%>\r\n<p><%= a %></p>\r\n"
                              "<% Sub Header() %>\r\n<h1>title</h1>\r\n<% End Sub %>\r\n"
                              "<script>var x = '<%= b %>';</script>\r\n";
    std::string page;
    while (page.size() < static_cast<size_t>(state.range(0)))
        page += block;
    for (auto _ : state)
        benchmark::DoNotOptimize(qasp::ScanPageStructure(page, true));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ScanPage)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
