// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/program_info.h"
#include "platform/picture_writer.h"
#include "platform/raster_canvas.h"
#include "render/draw_figure.h"

#include <QBuffer>
#include <QImageWriter>

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

QImage defaultPicture()
{
    RasterCanvas canvas;
    drawFigure(Pose::defaults(RasterCanvas::kWindowUnitWidth), canvas, kProgramCaption);
    return canvas.Image();
}

// The 493 x 397 start-up picture to PNG bytes, as every PNG export encodes
// it: with the writer an exporter keeps. Quoted against BM_DrawMan.
void BM_EncodePng(benchmark::State &state)
{
    const QImage picture = defaultPicture();
    PictureWriter writer;
    for (auto _ : state)
        benchmark::DoNotOptimize(writer.encode(picture, "png"));
}
BENCHMARK(BM_EncodePng);

// Qt's own PNG writer at its default setting, which PNG exports used before.
void BM_EncodePngWithQt(benchmark::State &state)
{
    const QImage picture = defaultPicture();
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(picture);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EncodePngWithQt);

} // namespace
} // namespace zelbrook
