// Loading and saving a large project: 500 files and 200,000 lines with 5,000
// functions and 10,000 declared names, keyword writes included.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/prompter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 500;
constexpr int kFunctionsPerFile = 10;  // 5,000 functions
constexpr int kDimLinesPerFile = 10;   // two names each: 10,000 declarations

std::string GeneratedFile(int f, bool root)
{
    std::string text;
    if (root)
        for (int i = 1; i < kFiles; ++i)
            text += "<!--#include file=\"inc" + std::to_string(i) + ".asp\"-->\r\n";
    text += "<%\r\n";
    for (int d = 0; d < kDimLinesPerFile; ++d)
        text += "Dim g" + std::to_string(f) + "_" + std::to_string(d) + "a, g" + std::to_string(f) + "_"
                + std::to_string(d) + "b(10)\r\n";
    for (int l = 0; l < 88; ++l)
        text += "Response.Write \"\xD0\xD0 " + std::to_string(l) + "\" & g" + std::to_string(f) + "_0a\r\n";
    for (int fn = 0; fn < kFunctionsPerFile; ++fn) {
        text += "Function F" + std::to_string(f) + "_" + std::to_string(fn) + "(a, b)\r\n";
        for (int l = 0; l < 28; ++l)
            text += "\tIf a > " + std::to_string(l) + " Then b = b & \"x\" ' step\r\n";
        text += "End Function\r\n";
    }
    return text + "%>\r\n";  // about 400 lines a file
}

struct Project {
    fs::path dir;
    Project()
    {
        dir = fs::temp_directory_path() / ("qasp_bench_" + std::to_string(::getpid()));
        fs::create_directories(dir / "out");
        for (int f = 0; f < kFiles; ++f)
            std::ofstream(dir / (f == 0 ? "index.asp" : "inc" + std::to_string(f) + ".asp"),
                          std::ios::binary)
                << GeneratedFile(f, f == 0);
    }
    ~Project() { fs::remove_all(dir); }
};

const Project &TheProject()
{
    static const Project project;
    return project;
}

void Load(qasp::ProjectTree &tree, qasp::KeywordStore &store)
{
    qasp::LoadContext context;
    context.baseDir = TheProject().dir.string();
    qasp::LoadAspDocument(tree, nullptr, (TheProject().dir / "index.asp").string(), store, context);
}

void BM_LoadProject500Files(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    for (auto _ : state) {
        qasp::ProjectTree tree;
        Load(tree, store);
        benchmark::DoNotOptimize(tree.FirstTopLevel());
    }
}
BENCHMARK(BM_LoadProject500Files)->Unit(benchmark::kMillisecond)->Iterations(5);

class Silent : public qasp::Prompter {
public:
    void Information(std::string_view) override {}
    int Question(std::string_view, std::string_view, int) override { return qasp::kAnswerNo; }
    std::string InputBox(std::string_view, std::string_view, std::string_view v) override
    {
        return std::string(v);
    }
};

void BM_SaveProject500Files(benchmark::State &state)
{
    qasp::KeywordStore store(":memory:");
    qasp::ProjectTree tree;
    Load(tree, store);
    Silent prompter;
    const std::string out = (TheProject().dir / "out").string();
    for (auto _ : state)
        qasp::SaveAspDocument(tree.FirstTopLevel(), out, true, prompter);
}
BENCHMARK(BM_SaveProject500Files)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
