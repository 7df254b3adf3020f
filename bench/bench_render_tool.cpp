// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/pose_writer.h"
#include "tools/render_job.h"
#include "tools/render_options.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

bool writePose(const QString &path)
{
    const std::string text = writePoseFile(Pose::defaults(RasterCanvas::kWindowUnitWidth));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) == qint64(text.size());
}

// What zelbrook-render does for one PNG: read and check the pose file, draw
// the figure, encode the picture, write it beside the target and put it in
// place. Quoted against BM_DrawMan, the drawing alone.
void BM_RenderPoseFileToPng(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString pose = dir.filePath(QStringLiteral("pose.zbk"));
    const auto parsed =
        RenderOptions::parse({pose.toStdString(), dir.filePath(QStringLiteral("figure.png")).toStdString()});
    if (!dir.isValid() || !writePose(pose) || !std::holds_alternative<RenderOptions>(parsed)) {
        state.SkipWithError("could not prepare the pose file");
        return;
    }
    QBuffer standardInput;
    for (auto _ : state) {
        RenderJob job(std::get<RenderOptions>(parsed), standardInput);
        if (!job.run().ok()) {
            state.SkipWithError("the render failed");
            break;
        }
    }
}
BENCHMARK(BM_RenderPoseFileToPng);

} // namespace
} // namespace zelbrook
