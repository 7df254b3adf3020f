// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "render/draw_scene.h"

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

// Four keys of a swinging arm and a stepping hip, each with 24 in-betweens
// to the next, looping: 100 frames.
Animation hundredFrames()
{
    std::vector<Key> keys;
    for (int i = 0; i < 4; ++i) {
        Pose pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
        pose.hipX += static_cast<float>(20 * i);
        pose.rArmAngle1 += 0.4 * (i % 2);
        keys.push_back(Key(Figure{pose}, 1, 24, Ease::Smooth));
    }
    return Animation(Playback{}, std::move(keys));
}

// The scene of the current key with the right hand's path over it, the path
// worked out beforehand as an edit does: quoted against BM_DrawMan.
void BM_DrawMotionPath(benchmark::State &state)
{
    RasterCanvas canvas;
    const Animation animation = hundredFrames();
    const std::vector<SceneFigure> scene = animation.sceneAt({0, 0, 0});
    const MotionPath path = traceMotionPath(animation, kFirstFigureId, Joint::RHand);
    const ScreenAids aids{kFirstFigureId, Sides::Alike, &path};
    for (auto _ : state) {
        drawScene(scene, {}, canvas, kProgramCaption, aids);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    state.counters["frames"] = static_cast<double>(animation.frameCount());
}
BENCHMARK(BM_DrawMotionPath);

// Working the path out, once an edit.
void BM_TraceMotionPath(benchmark::State &state)
{
    const Animation animation = hundredFrames();
    for (auto _ : state)
        benchmark::DoNotOptimize(traceMotionPath(animation, kFirstFigureId, Joint::RHand));
}
BENCHMARK(BM_TraceMotionPath);

} // namespace
} // namespace zelbrook
