// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "render/draw_figure.h"
#include "render/head_outline.h"
#include "render/joints.h"

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

constexpr std::string_view kCaption = kProgramCaption;

Pose defaultPose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

// The baseline every drawing figure is quoted against: one touch of every
// pixel of the drawing area.
void BM_CanvasClear(benchmark::State &state)
{
    RasterCanvas canvas;
    for (auto _ : state) {
        canvas.Cls();
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_CanvasClear);

void BM_DrawMan(benchmark::State &state)
{
    RasterCanvas canvas;
    canvas.setDrawWidth(2);
    const Pose pose = defaultPose();
    for (auto _ : state) {
        drawFigure(pose, canvas, kCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_DrawMan);

void BM_ComputeJoints(benchmark::State &state)
{
    const Pose pose = defaultPose();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeJoints(pose));
}
BENCHMARK(BM_ComputeJoints);

void BM_ComputeHeadOutline(benchmark::State &state)
{
    const Pose pose = defaultPose();
    const Point centre = ComputeJoints(pose).headCentre;
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeHeadOutline(pose, centre));
}
BENCHMARK(BM_ComputeHeadOutline);

// One in-between of the start-up pose and a second key that differs in
// every direction, the turns included.
void BM_FrameAt(benchmark::State &state)
{
    const Figure from{defaultPose()};
    Figure to = from;
    to.pose.bodyAngle += 2.5;
    to.pose.lLegAngle1 -= 3;
    to.pose.rArmAngle1 += 1;
    to.pose.lArmAngle2 = -1;
    to.pose.headRadius = 40;
    to.pose.scale = 2;
    const Animation animation(Playback{}, {Key{from, 1, 5, Ease::Smooth}, Key{to}});
    for (auto _ : state)
        benchmark::DoNotOptimize(animation.figureAt(FrameRef{0, 3, 5}));
}
BENCHMARK(BM_FrameAt);

} // namespace
} // namespace zelbrook
