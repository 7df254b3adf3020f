// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "render/draw_scene.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace zelbrook;

namespace {

Figure turned(double bodyAngle)
{
    Figure figure{Pose::defaults(455.58333f)};
    figure.pose.bodyAngle = bodyAngle;
    return figure;
}

// A walk of three keys with in-betweens, the middle one being edited.
Animation threeKeys()
{
    return Animation(Playback{}, {Key{turned(1.0), 1, 4}, Key{turned(1.6), 1, 4}, Key{turned(2.2), 1, 4}});
}

AnimationDocument documentOf(std::size_t keys)
{
    AnimationDocument document;
    document.replaceAnimation(Animation(Playback{}, std::vector<Key>(keys, Key{turned(1.5)})));
    document.setCurrentKey(keys / 2);
    return document;
}

} // namespace

// Clear, the previous and next keys as ghosts, the figure and the credit
// line: the editor's picture with the onion skin on.
void BM_DrawOnionSkin(benchmark::State &state)
{
    RasterCanvas canvas;
    const Animation animation = threeKeys();
    const Ghost ghosts[] = {{&animation.key(0).figures.front().figure, kPreviousKeyColor},
                            {&animation.key(2).figures.front().figure, kNextKeyColor}};
    for (auto _ : state) {
        drawScene(animation.key(1).figures.front().figure, ghosts, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_DrawOnionSkin);

// Working out the next frame of playback and drawing it.
void BM_PlayFrame(benchmark::State &state)
{
    RasterCanvas canvas;
    const Animation animation = threeKeys();
    const std::vector<FrameRef> frames = animation.frames();
    std::size_t next = 0;
    for (auto _ : state) {
        const Figure figure = animation.figureAt(frames[next]);
        drawScene(figure, {}, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
        next = (next + 1) % frames.size();
    }
}
BENCHMARK(BM_PlayFrame);

// Adding a key to a 1,000-key animation, undone between rounds so the
// animation keeps its size.
void BM_AddKey(benchmark::State &state)
{
    AnimationDocument document = documentOf(1000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.addKey());
        state.PauseTiming();
        document.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddKey);

void BM_UndoAddKey(benchmark::State &state)
{
    AnimationDocument document = documentOf(1000);
    for (auto _ : state) {
        state.PauseTiming();
        (void)document.addKey();
        state.ResumeTiming();
        benchmark::DoNotOptimize(document.undo());
    }
}
BENCHMARK(BM_UndoAddKey);
