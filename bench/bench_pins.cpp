// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"
#include "model/animation_document.h"
#include "model/limb_solve.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "render/draw_figure.h"
#include "render/draw_scene.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace zelbrook {
namespace {

Pose startPose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

Figure pinnedFigure(Pose pose, std::initializer_list<Limb> ends)
{
    Figure figure{pose};
    for (const Limb end : ends)
        figure.pin(end) = limbJoints(pose, end).end;
    return figure;
}

// One two-segment solve, the target moving a little each time: quoted
// against BM_DrawMan.
void BM_SolveLimb(benchmark::State &state)
{
    Pose pose = startPose();
    const Point foot = limbJoints(pose, Limb::LFoot).end;
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 16;
        solveLimb(pose, Limb::LFoot, {foot.x + step, foot.y - step}, Bend::Clockwise);
        benchmark::DoNotOptimize(pose);
    }
}
BENCHMARK(BM_SolveLimb);

// BM_PlayFrame10 with all four ends of every figure pinned in both keys.
void BM_PlayFrame10Pinned(benchmark::State &state)
{
    std::vector<CastFigure> cast;
    std::vector<KeyFigure> first;
    std::vector<KeyFigure> second;
    for (int i = 0; i < 10; ++i) {
        cast.push_back({kFirstFigureId + i, defaultFigureName(kFirstFigureId + i), Color(0x102030 * (i + 1))});
        Pose pose = startPose();
        pose.hipX = static_cast<float>(25 + 50 * i);
        pose.scale = 0.5;
        pose.bodyAngle = 1.5;
        const Figure pinned = pinnedFigure(pose, {Limb::LHand, Limb::RHand, Limb::LFoot, Limb::RFoot});
        first.push_back({kFirstFigureId + i, pinned});
        Figure later = pinned;
        later.pose.bodyAngle = 0.5;
        second.push_back({kFirstFigureId + i, later});
    }
    const Animation animation(Playback{}, cast, {Key{first, 1, 5, Ease::Smooth}, Key{second}});
    RasterCanvas canvas;
    int step = 0;
    for (auto _ : state) {
        step = step % 5 + 1;
        drawScene(animation.sceneAt({0, step, 5}), {}, canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_PlayFrame10Pinned);

// A mouse move of a hip drag of a figure with both feet pinned: the change
// through the document, which solves both legs, and the redraw.
void BM_DragPinnedHip(benchmark::State &state)
{
    AnimationDocument document;
    document.replaceAnimation(Animation(pinnedFigure(startPose(), {Limb::LFoot, Limb::RFoot})));
    RasterCanvas canvas;
    canvas.setDrawWidth(2);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 8;
        Figure moved = document.figure();
        moved.pose.hipY = 210 + step;
        document.setFigure(moved, ChangeKind::Edit, nullptr, &document);
        drawFigure(document.pose(), canvas, kProgramCaption);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_DragPinnedHip);

} // namespace
} // namespace zelbrook
