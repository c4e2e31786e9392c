// Loading and saving a large project: 500 files and 200,000 lines with 5,000
// functions and 10,000 declared names, keyword writes included.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/prompter.h"

#include "generated_text.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 500;  // 5,000 functions, 10,000 declarations, about 400 lines a file

struct Project {
    fs::path dir;
    Project()
    {
        dir = fs::temp_directory_path() / ("qasp_bench_" + std::to_string(::getpid()));
        fs::create_directories(dir / "out");
        const qasp::bench::ProjectShape shape;
        for (int f = 0; f < kFiles; ++f)
            std::ofstream(dir / qasp::bench::GeneratedProjectFileName(f), std::ios::binary)
                << qasp::bench::GeneratedProjectFile(f, shape);
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
    context.siteRoot = TheProject().dir;
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
    qasp::Answer Question(std::string_view, std::string_view, qasp::QuestionButtons) override
    {
        return qasp::Answer::No;
    }
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
