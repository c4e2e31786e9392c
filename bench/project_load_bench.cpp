// Loading a whole project from its root page, as `qasp tree` and the window
// do: a root that includes every other file, each file 400 lines of
// procedures and declarations (GBK, CR LF). 500 files are 200,000 lines;
// 5,000 files ten times that, whose time should be about ten times as much.
#include "generated_text.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kLinesPerFile = 400;

std::string FileName(int i)
{
    return "p" + std::to_string(i) + ".asp";
}

// `files` files in a scratch folder, p0.asp the root including all others.
class Project {
public:
    explicit Project(int files)
        : dir_(fs::temp_directory_path()
               / ("qasp_bench_project_" + std::to_string(::getpid()) + "_" + std::to_string(files)))
    {
        fs::create_directories(dir_);
        const std::string body = qasp::bench::GeneratedVBScript(kLinesPerFile - 4);
        for (int i = 0; i < files; ++i) {
            std::string text;
            for (int k = 1; i == 0 && k < files; ++k)
                text += "<!--#include file=\"" + FileName(k) + "\"-->\r\n";
            const std::string id = std::to_string(i);
            text += "<%\r\nDim page" + id + ", title" + id + "\r\n" + body + "\r\n%>\r\n";
            std::ofstream(dir_ / FileName(i), std::ios::binary) << text;
        }
    }
    ~Project() { fs::remove_all(dir_); }
    Project(const Project &) = delete;
    Project &operator=(const Project &) = delete;

    void Load(qasp::ProjectTree &tree, qasp::KeywordStore &store) const
    {
        qasp::LoadContext context;
        context.siteRoot = dir_;
        // 2,000,000 lines of this text are 70 MB and 170,000 nodes, over the
        // window's limits: the loader's cost is measured beyond them.
        context.limits.projectBytes = std::uintmax_t{128} * 1024 * 1024;
        context.limits.nodes = 1'000'000;
        qasp::LoadAspDocument(tree, nullptr, dir_ / FileName(0), store, context);
    }

private:
    fs::path dir_;
};

const Project &ProjectOf(int files)
{
    static std::map<int, std::unique_ptr<Project>> projects;
    auto &project = projects[files];
    if (!project)
        project = std::make_unique<Project>(files);
    return *project;
}

void BM_LoadProject(benchmark::State &state)
{
    const Project &project = ProjectOf(static_cast<int>(state.range(0)));
    qasp::KeywordStore store(":memory:");
    for (auto _ : state) {
        qasp::ProjectTree tree;
        project.Load(tree, store);
        benchmark::DoNotOptimize(tree.FirstTopLevel());
    }
    state.counters["lines"] = static_cast<double>(state.range(0) * kLinesPerFile);
}
BENCHMARK(BM_LoadProject)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
