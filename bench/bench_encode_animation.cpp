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

// The step with the figure red instead of black and as many squares of
// other colours at the top as asked for; 60 of them, with the credit line's
// greys, take a frame past 256 colours.
QImage colouredStep(int step, int extraColours)
{
    QImage image = walkingStep(step);
    for (int y = 0; y < image.height(); ++y) {
        auto *pixels = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((pixels[x] & 0x00FFFFFFu) == 0)
                pixels[x] = qRgb(0xc0, 0x30, 0x20);
    }
    for (int i = 0; i < extraColours; ++i)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                image.setPixel(4 * i + x, y, qRgb(40 + 2 * i, 200 - i, 90));
    return image;
}

// One frame of an animated GIF after the first: the rectangle that changed
// between two steps, found, indexed and compressed.
void encodeGifFrames(benchmark::State &state, const QImage (&steps)[2])
{
    GifEncoder encoder({12, true, 0}, [](std::string_view) { return Status{}; });
    if (!encoder.addFrame(steps[0]).ok())
        state.SkipWithError("the first frame was refused");
    int next = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(encoder.addFrame(steps[next]).ok());
        next = 1 - next;
    }
}

// The black figure. Quoted against BM_DrawMan.
void BM_EncodeGifFrame(benchmark::State &state)
{
    const QImage steps[2] = {walkingStep(0), walkingStep(1)};
    encodeGifFrames(state, steps);
}
BENCHMARK(BM_EncodeGifFrame);

// The red figure with as many more colours as the argument. Quoted against
// BM_EncodeGifFrame.
void BM_EncodeColouredGifFrame(benchmark::State &state)
{
    const int extraColours = static_cast<int>(state.range(0));
    const QImage steps[2] = {colouredStep(0, extraColours), colouredStep(1, extraColours)};
    encodeGifFrames(state, steps);
}
BENCHMARK(BM_EncodeColouredGifFrame)->Arg(0)->Arg(60);

} // namespace
} // namespace zelbrook
