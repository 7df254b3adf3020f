// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exporter.h"
#include "export/gif_encoder.h"
#include "model/program_info.h"

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

// Two steps of a walk, 493 x 397: the legs, an arm and the hip move.
QImage walkingStep(int step)
{
    Pose pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
    pose.hipX += 6.0f * float(step);
    pose.lLegAngle1 += 0.2 * step;
    pose.rLegAngle1 -= 0.2 * step;
    pose.rArmAngle1 += 0.3 * step;
    return Exporter().picture(Figure{pose, 2}, kProgramCaption).copy();
}

// One frame of an animated GIF after the first: the rectangle that changed
// between two steps, found, indexed and compressed. Quoted against
// BM_DrawMan.
void BM_EncodeGifFrame(benchmark::State &state)
{
    const QImage steps[2] = {walkingStep(0), walkingStep(1)};
    GifEncoder encoder({12, true, 0}, [](std::string_view) { return Status{}; });
    if (!encoder.addFrame(steps[0]).ok())
        state.SkipWithError("the first frame was refused");
    int next = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(encoder.addFrame(steps[next]).ok());
        next = 1 - next;
    }
}
BENCHMARK(BM_EncodeGifFrame);

} // namespace
} // namespace zelbrook
