// Opening a project in the window up to its first paint, as the user waits
// for it: 500 files of 400 lines (200,000 lines), the root including all the
// others, loaded, put into the tree, the root page shown and painted. The
// goal is half a second.
#include "app/main_window.h"
#include "generated_text.h"
#include "gui_bench_main.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// `files` files of about 400 lines in a scratch folder, index.asp including
// all the others, with a global.asa that makes the folder the site's root.
class Project {
public:
    explicit Project(int files)
        : dir_(fs::temp_directory_path() / ("qasp_bench_window_" + std::to_string(::getpid())))
    {
        fs::create_directories(dir_);
        qasp::bench::ProjectShape shape;
        shape.files = files;
        for (int f = 0; f < files; ++f)
            std::ofstream(dir_ / qasp::bench::GeneratedProjectFileName(f), std::ios::binary)
                << qasp::bench::GeneratedProjectFile(f, shape);
        std::ofstream(dir_ / "global.asa");
    }
    ~Project() { fs::remove_all(dir_); }
    Project(const Project &) = delete;
    Project &operator=(const Project &) = delete;

    QString Root() const { return QString::fromStdString((dir_ / "index.asp").string()); }

private:
    fs::path dir_;
};

void BM_OpenProjectToFirstPaint(benchmark::State &state)
{
    const Project project(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qasp::app::MainWindow window;
        window.show();
        if (!window.openProjectFile(project.Root()))
            state.SkipWithError("the project did not open");
        QApplication::processEvents();  // laid out and painted
        state.PauseTiming();            // closing is not part of the wait
        window.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenProjectToFirstPaint)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char **argv)
{
    return qasp::bench::RunGuiBenchmarks(argc, argv);
}
