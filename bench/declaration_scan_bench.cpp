#include "editor/declaration_scan.h"
#include "editor/keyword_store.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A 5,000-line page: 1,000 Dim lines of two names,
// 1,000 Const lines (3,000 names) and 3,000 lines of other code.
std::string BigPage()
{
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "Dim gA" + std::to_string(i) + ", gB" + std::to_string(i) + "(10)\r\n";
        text += "Const K" + std::to_string(i) + " = \"v" + std::to_string(i) + "\"\r\n";
        text += "Response.Write gA" + std::to_string(i) + " & K" + std::to_string(i) + "\r\n";
        text += "If gA" + std::to_string(i) + " > 0 Then gA" + std::to_string(i) + " = 0\r\n";
        text += "' comment line\r\n";
    }
    return text;
}

void BM_ScanPageWith3000Declarations(benchmark::State &state)
{
    const std::string page = BigPage();
    qasp::KeywordStore store(":memory:");
    for (auto _ : state) {
        store.ClearProjectNames();
        qasp::ScanDeclarations(store, qasp::KeywordTable::Public, page);
    }
}
BENCHMARK(BM_ScanPageWith3000Declarations)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
