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

// Ten figures of their own colours in a row, the start-up pose turned.
std::vector<KeyFigure> tenFigures(double bodyAngle)
{
    std::vector<KeyFigure> figures;
    for (int i = 0; i < 10; ++i) {
        Figure figure = turned(bodyAngle + 0.1 * i);
        figure.pose.hipX = static_cast<float>(40 + 45 * i);
        figures.push_back({kFirstFigureId + i, figure});
    }
    return figures;
}

// A looping animation of `frames` frames: keys of ten figures, each shown
// once and followed by nine in-betweens.
Animation scrubbed(std::size_t frames)
{
    std::vector<CastFigure> cast;
    for (int i = 0; i < 10; ++i)
        cast.push_back({kFirstFigureId + i, defaultFigureName(kFirstFigureId + i), Color(0x0F1F2F * (i + 1))});
    std::vector<Key> keys;
    for (std::size_t key = 0; key < frames / 10; ++key)
        keys.emplace_back(tenFigures(1.0 + 0.2 * double(key % 7)), 1, 9);
    return Animation(Playback{}, cast, keys);
}

// The stage of a 1920 x 1080 window shows the canvas at zoom 2.
constexpr int kStageZoom = 2;

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
    const Ghost ghosts[] = {previousKeyGhost(animation.key(0).figures.front().figure),
                            nextKeyGhost(animation.key(2).figures.front().figure)};
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

// Two in-betweens in the middle of the animation in turn, each shown and
// drawn on the stage: quoted against BM_DrawStageScene, and /100000
// against /10.
void BM_ScrubFrame(benchmark::State &state)
{
    const auto frames = static_cast<std::size_t>(state.range(0));
    AnimationDocument document;
    document.replaceAnimation(scrubbed(frames));
    RasterCanvas canvas(kStageZoom);
    std::size_t frame = frames / 2 + 1;
    for (auto _ : state) {
        frame = frame == frames / 2 + 1 ? frame + 1 : frame - 1;
        document.setShownFrame(frame);
        drawScene(document.scene(), {}, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_ScrubFrame)->Arg(10)->Arg(100000);

// The scrubbed scene drawn alone at the same size.
void BM_DrawStageScene(benchmark::State &state)
{
    RasterCanvas canvas(kStageZoom);
    const Animation animation = scrubbed(10);
    const std::vector<SceneFigure> scene = animation.sceneAt(animation.frameAt(6));
    for (auto _ : state) {
        drawScene(scene, {}, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_DrawStageScene);

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
