// Loading projects whose include lines form awkward graphs: a fan-out where
// every file includes the next one twice (a tree of 2^N nodes if each
// inclusion were loaded again) and a chain of files each including the next
// (thousands of files deep). Both should cost time in proportion to the bytes
// of their distinct files.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string FileName(int i)
{
    return "f" + std::to_string(i) + ".asp";
}

// Declarations and a function, padded with lines to about `bytes` bytes.
std::string Body(int file, size_t bytes)
{
    const std::string id = std::to_string(file);
    std::string text = "<%\r\nDim g" + id + ", h" + id + "\r\n";
    for (int line = 0; text.size() + 64 < bytes; ++line)
        text += "Response.Write \"\xD0\xD0 " + std::to_string(line) + "\" & g" + id + "\r\n";
    return text + "Function F" + id + "(a)\r\n\tF" + id + " = a\r\nEnd Function\r\n\r\n%>\r\n";
}

// `files` files in a scratch folder, f0.asp the root; file i includes file
// i + 1 `includes` times.
class IncludeGraph {
public:
    IncludeGraph(int files, int includes, size_t bytesPerFile)
        : dir_(fs::temp_directory_path()
               / ("qasp_bench_graph_" + std::to_string(::getpid()) + "_" + std::to_string(files) + "x"
                  + std::to_string(includes)))
    {
        fs::create_directories(dir_);
        for (int i = 0; i < files; ++i) {
            std::string text;
            for (int k = 0; i + 1 < files && k < includes; ++k)
                text += "<!--#include file=\"" + FileName(i + 1) + "\"-->\r\n";
            std::ofstream(dir_ / FileName(i), std::ios::binary) << text + Body(i, bytesPerFile);
        }
    }
    ~IncludeGraph() { fs::remove_all(dir_); }
    IncludeGraph(const IncludeGraph &) = delete;
    IncludeGraph &operator=(const IncludeGraph &) = delete;

    void Load(qasp::ProjectTree &tree, qasp::KeywordStore &store) const
    {
        qasp::LoadContext context;
        context.siteRoot = dir_;
        qasp::LoadAspDocument(tree, nullptr, dir_ / FileName(0), store, context);
    }

private:
    fs::path dir_;
};

const IncludeGraph &Graph(int files, int includes, size_t bytesPerFile)
{
    static std::map<std::pair<int, int>, std::unique_ptr<IncludeGraph>> graphs;
    auto &graph = graphs[{files, includes}];
    if (!graph)
        graph = std::make_unique<IncludeGraph>(files, includes, bytesPerFile);
    return *graph;
}

void LoadGraph(benchmark::State &state, int files, int includes, size_t bytesPerFile)
{
    const IncludeGraph &graph = Graph(files, includes, bytesPerFile);
    qasp::KeywordStore store(":memory:");
    for (auto _ : state) {
        qasp::ProjectTree tree;
        graph.Load(tree, store);
        benchmark::DoNotOptimize(tree.FirstTopLevel());
    }
}

// 4 KB files, each included twice by the one before: twenty of them made a
// million nodes when every inclusion was loaded again.
void BM_LoadFanOut(benchmark::State &state)
{
    LoadGraph(state, static_cast<int>(state.range(0)), 2, 4096);
}
BENCHMARK(BM_LoadFanOut)->Arg(10)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond);

// A chain of small files up to 5,000 deep: the time per file should not
// grow with the depth.
void BM_LoadDeepChain(benchmark::State &state)
{
    LoadGraph(state, static_cast<int>(state.range(0)), 1, 256);
}
BENCHMARK(BM_LoadDeepChain)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
