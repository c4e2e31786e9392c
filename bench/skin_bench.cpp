// Decoding the shipped skin and building its model, as the program does at
// start-up; cutting a full-screen window's shape from the skin's borders
// (on every change of size) and painting its frame (on every repaint).
#include "skin/data/skin_data.h"
#include "skin/data/skin_model.h"
#include "skin/windows/frame_drawing.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>

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
        qasp::skin::SkinData data;
        data.SetSkinStream(stream);
        benchmark::DoNotOptimize(data.NoSkin());
    }
    state.counters["compressed_bytes"] = static_cast<double>(stream.size());
}
BENCHMARK(BM_DecodeAndBuildShippedSkin)->Unit(benchmark::kMillisecond);

std::string ShippedSkin()
{
    QFile file(QString(QASP_SKIN_DIR) + "/quillmere-light.skin");
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void BM_FrameRegionFullScreen(benchmark::State &state)
{
    qasp::skin::SkinData data;
    data.SetSkinStream(ShippedSkin());
    const auto metrics = qasp::skin::RecalcFrameMetrics(data.Model(), qasp::skin::kSizableFrame);
    for (auto _ : state) {
        const QRegion region =
            qasp::skin::BuildFrameRegion(data.Model(), metrics, QSize(1920, 1080), qasp::skin::kSizableFrame);
        benchmark::DoNotOptimize(region.rectCount());
    }
}
BENCHMARK(BM_FrameRegionFullScreen)->Unit(benchmark::kMillisecond);

void BM_FrameBordersFullScreen(benchmark::State &state)
{
    qasp::skin::SkinData data;
    data.SetSkinStream(ShippedSkin());
    const auto &m = data.Model();
    const auto metrics = qasp::skin::RecalcFrameMetrics(m, qasp::skin::kSizableFrame);
    const auto r = qasp::skin::LayOutFrame(QSize(1920, 1080), metrics);
    QImage target(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&target);
        qasp::skin::DrawFrameBorder(p, m.Left, r.Left, true);
        qasp::skin::DrawFrameBorder(p, m.Right, r.Right, true);
        qasp::skin::DrawFrameBorder(p, m.Bottom, r.Bottom, true);
        qasp::skin::DrawFrameBorder(p, m.Top, r.Top, true);
    }
}
BENCHMARK(BM_FrameBordersFullScreen)->Unit(benchmark::kMillisecond);

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
