// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include <benchmark/benchmark.h>

// The raster canvas renders text through Qt's font machinery, and the window
// benchmarks build real widgets, so one application object lives for the run.
// It runs on the offscreen platform: no display is needed.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
