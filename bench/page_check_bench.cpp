// qasp check's work on a generated page: a root page including N files of
// procedures and globals, each used from the page; assembled, parsed and
// checked afresh each round (a new checker reads the files again).
#include "analysis/page_check.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path MakeSite(int includes)
{
    fs::path root = fs::temp_directory_path()
                    / ("qasp_check_bench_" + std::to_string(::getpid()) + "_" + std::to_string(includes));
    fs::create_directories(root / "inc");
    std::string page = "<% Option Explicit %>\r\n";
    std::string calls;
    for (int i = 0; i < includes; ++i) {
        const std::string n = std::to_string(i);
        page += "<!--#include file=\"inc/f" + n + ".asp\"-->\r\n";
        std::ofstream(root / "inc" / ("f" + n + ".asp"), std::ios::binary)
            << "<%\r\nDim g" << n << "\r\nFunction F" << n << "(a, b)\r\n  Dim s\r\n  s = a & b & g" << n
            << "\r\n  If Len(s) > 3 Then s = Left(s, 3)\r\n  F" << n
            << " = s\r\nEnd Function\r\n%>\r\n<p>html " << n << "</p>\r\n";
        calls += "Response.Write F" + n + "(1, \"x\") & vbCrLf\r\n";
    }
    std::ofstream(root / "index.asp", std::ios::binary) << page << "<%\r\n" << calls << "%>\r\n";
    return root;
}

void CheckGeneratedPage(benchmark::State &state)
{
    const fs::path root = MakeSite(static_cast<int>(state.range(0)));
    const qasp::SiteRoot site(root);
    for (auto _ : state) {
        qasp::analysis::PageChecker checker;
        benchmark::DoNotOptimize(checker.Check(root / "index.asp", site));
    }
    fs::remove_all(root);
}
BENCHMARK(CheckGeneratedPage)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
