// Decoding the shipped skin and building its model, as the program does at
// start-up.
#include "skin/data/skin_data.h"

#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_DecodeAndBuildShippedSkin(benchmark::State &state)
{
    QFile file(QString(QASP_SKIN_DIR) + "/quillmere-light.skin");
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the packed skin is missing; build the skin_files target");
        return;
    }
    const std::string stream = file.readAll().toStdString();
    for (auto _ : state) {
        qasp::skin::TSkinData data;
        data.SetSkinStream(stream);
        benchmark::DoNotOptimize(data.NoSkin());
    }
    state.counters["compressed_bytes"] = static_cast<double>(stream.size());
}
BENCHMARK(BM_DecodeAndBuildShippedSkin)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
