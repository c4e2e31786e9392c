// qasp check's work at the sizes real sites have.
//  - CheckLargePage: one page with its includes as large as the largest
//    measured on a real site (a blog engine's page: 782 KB, 24,800 lines in
//    12 files), checked cold (a new checker reads the files) and warm (the
//    files read already, as in a run over a whole site). Goal: 20 ms.
//  - CheckSite/N: every page of a generated site of N pages sharing 10
//    includes, as `qasp check FOLDER` runs them; the time per page should
//    not grow with N.
//  - QaspCheckSite: the qasp process on the 4,000-page site.
// QASP_BENCH_PAGE=PAGE [QASP_BENCH_SITE=ROOT] adds CheckGivenPage: that page
// (a real one, say) checked warm.
#include "analysis/page_check.h"
#include "generated_text.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

namespace fs = std::filesystem;

void Write(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A library file of about `lines` lines (whole functions of 12 lines):
// globals, then functions.
std::string Library(int n, int lines)
{
    const std::string name = std::to_string(n);
    return "<%\r\nDim lib" + name + "Count, lib" + name + "Name\r\nlib" + name + "Count = 0\r\n"
           + qasp::bench::GeneratedVBScript(lines) + "\r\n%>\r\n";
}

// The generated pages are valid: an error means the generator is wrong.
bool HasErrors(const fs::path &page, const qasp::SiteRoot &root)
{
    qasp::analysis::PageChecker checker;
    const std::vector<qasp::vbs::Diagnostic> found = checker.Check(page, root);
    return std::any_of(found.begin(), found.end(), [](const qasp::vbs::Diagnostic &d) {
        return d.severity == qasp::vbs::Severity::Error;
    });
}

// A scratch folder removed with the benchmark.
class Site {
public:
    explicit Site(const std::string &purpose)
        : root_(fs::temp_directory_path()
                / ("qasp_site_check_bench_" + purpose + "_" + std::to_string(::getpid())))
    {
        fs::remove_all(root_);
    }
    ~Site() { fs::remove_all(root_); }
    Site(const Site &) = delete;
    Site &operator=(const Site &) = delete;
    const fs::path &Root() const { return root_; }

private:
    fs::path root_;
};

// The largest page: 11 includes of 2,196 lines each and the page's own
// 600, about 24,800 lines and 780 KB.
fs::path MakeLargePage(const Site &site)
{
    std::string page = "<%@ CODEPAGE=936 %>\r\n<% Option Explicit\r\nDim id %>\r\n";
    for (int i = 0; i < 11; ++i) {
        page += "<!--#include file=\"inc/lib" + std::to_string(i) + ".asp\"-->\r\n";
        Write(site.Root() / "inc" / ("lib" + std::to_string(i) + ".asp"), Library(i, 2196));
    }
    page += qasp::bench::GeneratedAspPage(600);
    Write(site.Root() / "index.asp", page);
    return site.Root() / "index.asp";
}

void CheckLargePageCold(benchmark::State &state)
{
    const Site site("large_cold");
    const fs::path page = MakeLargePage(site);
    const qasp::SiteRoot root(site.Root());
    if (HasErrors(page, root)) {
        state.SkipWithError("the generated page has errors");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        qasp::analysis::PageChecker checker;
        benchmark::DoNotOptimize(checker.Check(page, root));
        bytes = 0;
        for (uint32_t f = 0; f < checker.Files().Count(); ++f)
            bytes += checker.Files()[f].bytes.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(CheckLargePageCold)->Unit(benchmark::kMillisecond);

void CheckLargePageWarm(benchmark::State &state)
{
    const Site site("large_warm");
    const fs::path page = MakeLargePage(site);
    const qasp::SiteRoot root(site.Root());
    qasp::analysis::PageChecker checker;
    checker.Check(page, root);
    size_t bytes = 0;
    for (uint32_t f = 0; f < checker.Files().Count(); ++f)
        bytes += checker.Files()[f].bytes.size();
    for (auto _ : state)
        benchmark::DoNotOptimize(checker.Check(page, root));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(CheckLargePageWarm)->Unit(benchmark::kMillisecond);

// A site of `pages` pages in folders of 100, each including the 10 shared
// libraries (about 1,000 lines in all) and holding 60 lines of its own.
void MakeSite(const fs::path &root, int pages)
{
    std::string includes;
    for (int i = 0; i < 10; ++i) {
        includes += "<!--#include virtual=\"/inc/lib" + std::to_string(i) + ".asp\"-->\r\n";
        Write(root / "inc" / ("lib" + std::to_string(i) + ".asp"), Library(i, 96));
    }
    Write(root / "global.asa",
          "<script language=\"VBScript\" runat=\"server\">\r\nSub Application_OnStart\r\n"
          "End Sub\r\n</script>\r\n");
    const std::string body = qasp::bench::GeneratedAspPage(60);
    for (int p = 0; p < pages; ++p)
        Write(root / ("part" + std::to_string(p / 100)) / ("page" + std::to_string(p) + ".asp"),
              "<% Option Explicit\r\nDim id %>\r\n" + includes + body);
}

void CheckSite(benchmark::State &state)
{
    const Site site("site");
    const int pages = static_cast<int>(state.range(0));
    MakeSite(site.Root(), pages);
    const qasp::SiteRoot root(site.Root());
    if (HasErrors(site.Root() / "part0" / "page0.asp", root)) {
        state.SkipWithError("the generated page has errors");
        return;
    }
    for (auto _ : state) {
        qasp::analysis::PageChecker checker;
        for (int p = 0; p < pages; ++p)
            benchmark::DoNotOptimize(checker.Check(site.Root() / ("part" + std::to_string(p / 100))
                                                       / ("page" + std::to_string(p) + ".asp"),
                                                   root));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * pages);
}
BENCHMARK(CheckSite)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void QaspCheckSite(benchmark::State &state)
{
    const Site site("qasp");
    MakeSite(site.Root(), 4000);
    const std::string folder = site.Root().string();
    for (auto _ : state) {
        const char *args[] = {QASP_PROGRAM, "check", folder.c_str(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int spawned =
            posix_spawn(&pid, QASP_PROGRAM, &actions, nullptr, const_cast<char **>(args), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        // The generated pages are valid: exit 0.
        if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("qasp check failed or found errors");
    }
}
BENCHMARK(QaspCheckSite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void CheckGivenPage(benchmark::State &state, const fs::path &page, const fs::path &root)
{
    const qasp::SiteRoot site = root.empty() ? qasp::SiteRoot::Around(page) : qasp::SiteRoot(root);
    qasp::analysis::PageChecker checker;
    checker.Check(page, site);
    size_t bytes = 0;
    for (uint32_t f = 0; f < checker.Files().Count(); ++f)
        bytes += checker.Files()[f].bytes.size();
    for (auto _ : state)
        benchmark::DoNotOptimize(checker.Check(page, site));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

}  // namespace

int main(int argc, char **argv)
{
    if (const char *page = std::getenv("QASP_BENCH_PAGE")) {
        const char *root = std::getenv("QASP_BENCH_SITE");
        benchmark::RegisterBenchmark("CheckGivenPage", CheckGivenPage, fs::path(page),
                                     fs::path(root ? root : ""))
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
