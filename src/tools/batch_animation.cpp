// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_animation.h"

#include "tools/animation_render.h"
#include "tools/batch_progress.h"
#include "tools/output_writers.h"
#include "tools/render_job.h"

#include <atomic>
#include <memory>

namespace zelbrook {

BatchAnimation::BatchAnimation(const RenderOptions &options, BatchProgress &progress, Failed failed)
    : m_options(options)
    , m_progress(progress)
    , m_failed(std::move(failed))
{}

std::string BatchAnimation::framePath(const std::string &stemPath, std::size_t index, std::size_t count,
                                      std::string_view extension)
{
    const std::string number = std::to_string(index + 1);
    const std::size_t digits = std::max<std::size_t>(4, std::to_string(count).size());
    return stemPath + "-" + std::string(digits - number.size(), '0') + number + "." + std::string(extension);
}

void BatchAnimation::writeFrames(const Animation &animation, const std::string &stemPath, Exporter &exporter,
                                 OutputWriters &writers) const
{
    const std::vector<FrameRef> frames = animation.frames();
    m_progress.inputCounted(frames.size());
    // The writers finish frames after this returns; the first failure
    // among them speaks for the animation.
    const auto failedOnce = std::make_shared<std::atomic<bool>>(false);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::string path = framePath(stemPath, i, frames.size(), RenderOptions::extension(m_options.format));
        Result<QByteArray> bytes = RenderJob::encode(exporter, animation.sceneAt(frames[i]), m_options);
        if (!bytes) {
            m_failed(path, bytes.error());
            m_progress.framesDone(frames.size() - i);
            return;
        }
        // The writers may finish after this object is gone.
        writers.write(path, std::move(bytes).value(),
                      [failed = m_failed, &progress = m_progress, path, failedOnce](const Status &written) {
                          if (!written && !failedOnce->exchange(true))
                              failed(path, written.error());
                          progress.framesDone();
                      });
    }
}

void BatchAnimation::writeWhole(const Animation &animation, const std::string &stemPath) const
{
    const bool framesCounted = m_options.format != RenderFormat::Zba;
    const std::size_t frames = framesCounted ? animation.frameCount() : 1;
    m_progress.inputCounted(frames);
    std::size_t done = 0;
    const auto frameDone = [&](std::size_t framesDone) {
        m_progress.framesDone(framesDone - done);
        done = framesDone;
        return true;
    };
    const std::string path = stemPath + "." + std::string(RenderOptions::extension(m_options.format));
    const AnimationRender render{m_options.format, m_options.zoom, m_options.columns};
    const Status written = render.write(animation, path, frameDone);
    if (!written)
        m_failed(path, written.error());
    m_progress.framesDone(frames - done);
}

} // namespace zelbrook
