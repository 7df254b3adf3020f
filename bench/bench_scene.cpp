// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "render/draw_scene.h"
#include "render/scene_picker.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace zelbrook {
namespace {

// `count` figures in a row across the canvas, each in a colour of its own,
// the pen of the start-up pose.
std::vector<KeyFigure> row(int count, double bodyAngle)
{
    std::vector<KeyFigure> figures;
    for (int i = 0; i < count; ++i) {
        Pose pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
        pose.hipX = static_cast<float>(25 + 450 * i / std::max(1, count - 1));
        pose.bodyAngle = bodyAngle;
        pose.scale = 0.5;
        figures.push_back({kFirstFigureId + i, Figure{pose}});
    }
    return figures;
}

Animation animationOf(int count)
{
    std::vector<CastFigure> cast;
    for (int i = 0; i < count; ++i)
        cast.push_back({kFirstFigureId + i, defaultFigureName(kFirstFigureId + i), Color(0x102030 * (i + 1))});
    return Animation(Playback{}, cast, {Key{row(count, 1.5), 1, 5, Ease::Smooth}, Key{row(count, 0.5)}});
}

// Ten figures, one clear and the credit line: quoted against BM_DrawMan.
void BM_DrawScene10(benchmark::State &state)
{
    RasterCanvas canvas;
    const std::vector<SceneFigure> scene = animationOf(10).sceneAt({0, 0, 0});
    for (auto _ : state) {
        drawScene(scene, {}, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_DrawScene10);

// The next in-between of ten figures, worked out and drawn, as playing does.
void BM_PlayFrame10(benchmark::State &state)
{
    RasterCanvas canvas;
    const Animation animation = animationOf(10);
    int step = 0;
    for (auto _ : state) {
        step = step % 5 + 1;
        drawScene(animation.sceneAt({0, step, 5}), {}, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_PlayFrame10);

// A press on the hand of the middle figure among 100: quoted against
// BM_DrawMan.
void BM_PickJoint100(benchmark::State &state)
{
    const std::vector<SceneFigure> scene = animationOf(100).sceneAt({0, 0, 0});
    const SceneFigure &middle = scene[50];
    const Point hip{middle.figure.pose.hipX * kPixelsPerUnitAcross, middle.figure.pose.hipY * kPixelsPerUnitDown};
    for (auto _ : state)
        benchmark::DoNotOptimize(pickInScene(scene, scene.front().id, hip));
}
BENCHMARK(BM_PickJoint100);

} // namespace
} // namespace zelbrook
