// The main of a benchmark that needs the window: an application on the
// offscreen platform unless another is asked for, settings and data in
// test folders, the fonts the tests use.
#pragma once

#include "app/interface_font.h"

#include <QApplication>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

namespace qasp::bench {

inline int RunGuiBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    qasp::app::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace qasp::bench
