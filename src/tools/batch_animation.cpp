// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_animation.h"

#include "tools/animation_render.h"
#include "tools/batch_progress.h"
#include "tools/output_writers.h"
#include "tools/render_job.h"

#include "export/trim_area.h"
#include "platform/numbered_files.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace zelbrook {

BatchAnimation::BatchAnimation(const RenderOptions &options, BatchProgress &progress, Failed failed)
    : m_options(options)
    , m_progress(progress)
    , m_failed(std::move(failed))
{}

namespace {

// The frames of one animation on their way to the writers, which finish
// them after writeFrames() returns. Whoever finishes last removes the new
// frames of a failed animation and reports its first failure.
class FramesUnderWay
{
public:
    FramesUnderWay(std::string stemPath, std::size_t count, std::string_view extension, BatchAnimation::Failed failed)
        : m_files(std::move(stemPath), count, extension)
        , m_failed(std::move(failed))
    {}

    NumberedFiles &files() { return m_files; }
    void started() { ++m_pending; }
    void fail(const std::string &path, const Error &error)
    {
        const std::lock_guard lock(m_mutex);
        if (!m_failure)
            m_failure = std::pair{path, error};
    }
    void done()
    {
        if (--m_pending > 0)
            return;
        const std::lock_guard lock(m_mutex);
        if (!m_failure)
            return;
        const std::size_t written = m_files.writtenCount();
        const std::size_t removed = m_files.removeCreated();
        const std::string &said = m_failure->second.message;
        m_failed(m_failure->first, Error{said + (said.ends_with('.') ? " " : ". ") + std::to_string(written) + " of "
                                         + std::to_string(m_files.count()) + " frames had been written; the "
                                         + std::to_string(removed) + " new ones were removed."});
    }

private:
    NumberedFiles m_files;
    BatchAnimation::Failed m_failed;
    std::atomic<std::size_t> m_pending{1}; // the frames handed over, and writeFrames() itself
    std::mutex m_mutex;
    std::optional<std::pair<std::string, Error>> m_failure;
};

} // namespace

void BatchAnimation::writeFrames(const Animation &animation, const std::string &stemPath, Exporter &exporter,
                                 OutputWriters &writers) const
{
    const std::vector<FrameRef> frames = animation.frames();
    m_progress.inputCounted(frames.size());
    // The writers may finish after this object is gone.
    const auto underWay =
        std::make_shared<FramesUnderWay>(stemPath, frames.size(), RenderOptions::extension(m_options.format), m_failed);
    std::optional<QRect> trimArea;
    if (m_options.trim) {
        const Result<QRect> area =
            TrimArea::ofAnimation(animation, m_options.format == RenderFormat::Svg ? 1 : m_options.zoom);
        if (!area) {
            underWay->fail(underWay->files().name(0), area.error());
            underWay->done();
            m_progress.framesDone(frames.size());
            return;
        }
        trimArea = *area;
    }
    std::size_t notHandedOver = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::string path = underWay->files().name(i);
        Result<QByteArray> bytes = RenderJob::encode(exporter, animation.sceneAt(frames[i]), m_options, trimArea);
        if (!bytes) {
            underWay->fail(path, bytes.error());
            notHandedOver = frames.size() - i;
            break;
        }
        underWay->files().aboutToWrite(i);
        underWay->started();
        const bool handedOver = writers.write(path, std::move(bytes).value(),
                                              [&progress = m_progress, path, underWay](const Status &written) {
                                                  if (written)
                                                      underWay->files().written();
                                                  else
                                                      underWay->fail(path, written.error());
                                                  underWay->done();
                                                  progress.framesDone();
                                              });
        if (handedOver)
            m_progress.frameHandedOver();
    }
    // The failure is reported before the last frame counts as done.
    underWay->done();
    if (notHandedOver > 0)
        m_progress.framesDone(notHandedOver);
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
    const AnimationRender render = AnimationRender::of(m_options);
    const Status written = render.write(animation, path, frameDone);
    if (!written)
        m_failed(path, written.error());
    m_progress.framesDone(frames - done);
}

} // namespace zelbrook
