// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_render.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "platform/system_file.h"
#include "tools/animation_render.h"
#include "tools/batch_animation.h"
#include "tools/batch_progress.h"
#include "tools/output_writers.h"
#include "tools/render_command.h"
#include "tools/render_files.h"
#include "tools/render_job.h"
#include "tools/thread_group.h"

#include <QThread>

#include <algorithm>
#include <new>
#include <utility>

namespace zelbrook {

namespace {

// Threads that put finished files in place; they spend their time waiting
// for the disk, not drawing.
constexpr int kWriterThreads = 8;

} // namespace

BatchRender::BatchRender(RenderOptions options, QIODevice &standardInput, QIODevice &standardError,
                         bool errorIsTerminal)
    : m_options(std::move(options))
    , m_batch(*m_options.batch)
    , m_standardInput(standardInput)
    , m_standardError(standardError)
    , m_errorIsTerminal(errorIsTerminal)
{}

std::optional<BatchRender::Refusal> BatchRender::run()
{
    if (const std::optional<Refusal> refusal = collectPoses())
        return refusal;
    if (const std::optional<Refusal> refusal = findClash())
        return refusal;
    if (const Status folder = RenderFiles::checkOutputFolder(m_batch.outputDir); !folder)
        return Refusal{Stop::Failure, SystemFile::printableName(m_batch.outputDir) + ": " + folder.error().message};
    prepareText();
    BatchProgress progress(m_standardError, m_poses.size(), m_errorIsTerminal && !m_batch.quiet);
    OutputWriters writers(kWriterThreads);
    std::atomic<std::size_t> next{0};
    ThreadGroup workers;
    const int threads = std::min<int>(threadCount(), static_cast<int>(std::max<std::size_t>(1, m_poses.size())));
    if (workers.start(threads, [&] { renderFrom(next, writers, progress); }) == 0)
        renderFrom(next, writers, progress);
    progress.waitUntilDone();
    workers.join();
    return std::nullopt;
}

// The font libraries under Qt set up shared state the first time they lay
// out text. Doing that once here, before the threads start, leaves them
// only state that is already there to share.
void BatchRender::prepareText() const
{
    Figure figure = RenderInput::startPose(m_options).animation(m_options).key(0).figures.front().figure;
    figure.pose.headRadius = 100; // large enough for the remark as well
    Exporter().picture(figure, kProgramCaption, RenderJob::drawingZoom(m_options));
}

void BatchRender::renderFrom(std::atomic<std::size_t> &next, OutputWriters &writers, BatchProgress &progress)
{
    Exporter exporter;
    const BatchAnimation animations(m_options, progress,
                                    [this, &progress](const std::string &path, const Error &error) {
                                        report(progress, path, error, m_notWritten);
                                    });
    for (std::size_t index = next++; index < m_poses.size(); index = next++) {
        progress.inputStarted();
        try {
            renderOne(index, animations, exporter, writers, progress);
        } catch (const std::bad_alloc &) {
            report(progress, inputName(index), Error{"There is not enough memory to render it."}, m_notWritten);
            progress.inputGivenUp();
        }
    }
}

void BatchRender::renderOne(std::size_t index, const BatchAnimation &animations, Exporter &exporter,
                            OutputWriters &writers, BatchProgress &progress)
{
    const Result<RenderInput> input = readInput(index);
    if (!input) {
        progress.inputCounted(1);
        fail(progress, inputName(index), input.error(), m_refused);
    } else if (input->isAnimation() && rendersFrames()) {
        m_animationsSeen = true;
        animations.writeFrames(input->animation(m_options), stemPath(index), exporter, writers);
    } else if (AnimationRender::holdsAnimation(m_options, input->isAnimation())) {
        m_animationsSeen = m_animationsSeen || input->isAnimation();
        animations.writeWhole(input->animation(m_options), stemPath(index));
    } else {
        m_animationsSeen = m_animationsSeen || input->isAnimation();
        renderScene(index, *input, exporter, writers, progress);
    }
}

Result<RenderInput> BatchRender::readInput(std::size_t index) const
{
    const std::string_view name = m_poses[index];
    if (name.empty())
        return RenderInput::startPose(m_options);
    const Result<std::string> text = RenderJob::readInputFile(std::string(name));
    if (!text)
        return text.error();
    return RenderInput::fromText(*text, m_options);
}

// An animation becomes numbered pictures of its frames unless one key or
// one figure of it is asked for.
bool BatchRender::rendersFrames() const
{
    const RenderFormat format = m_options.format;
    return !m_options.key && !m_options.figure
           && (format == RenderFormat::Png || format == RenderFormat::Bmp || format == RenderFormat::Svg);
}

// The input is done once its output is written, or as soon as it fails.
void BatchRender::renderScene(std::size_t index, const RenderInput &input, Exporter &exporter, OutputWriters &writers,
                              BatchProgress &progress)
{
    progress.inputCounted(1);
    const Result<std::vector<SceneFigure>> scene = input.scene(m_options);
    if (!scene)
        return fail(progress, inputName(index), scene.error(), m_refused);
    if (const std::optional<std::string> refusal = input.refusal(m_options))
        return fail(progress, inputName(index), Error{*refusal}, m_refused);
    Result<QByteArray> bytes = RenderJob::encode(exporter, *scene, m_options);
    if (!bytes)
        return fail(progress, outputPath(index), bytes.error(), m_notWritten);
    std::string path = outputPath(index);
    const bool handedOver =
        writers.write(path, std::move(bytes).value(), [this, &progress, path](const Status &written) {
            if (!written)
                return fail(progress, path, written.error(), m_notWritten);
            progress.framesDone();
        });
    if (handedOver)
        progress.frameHandedOver();
}

void BatchRender::fail(BatchProgress &progress, std::string_view name, const Error &error,
                       std::atomic<std::size_t> &count)
{
    report(progress, name, error, count);
    progress.framesDone();
}

void BatchRender::report(BatchProgress &progress, std::string_view name, const Error &error,
                         std::atomic<std::size_t> &count)
{
    progress.message(std::string(RenderCommand::kMessagePrefix) + SystemFile::printableName(name) + ": "
                     + error.message);
    ++count;
}

int BatchRender::threadCount() const
{
    return m_batch.jobs > 0 ? m_batch.jobs : std::max(1, QThread::idealThreadCount());
}

std::string BatchRender::summary() const
{
    const std::size_t failed = refused() + notWritten();
    std::string text = "rendered " + std::to_string(total() - failed) + " of " + std::to_string(total())
                       + (m_animationsSeen ? (total() == 1 ? " file" : " files") : (total() == 1 ? " pose" : " poses"));
    if (failed == 0)
        return text;
    text += "; ";
    if (refused() > 0)
        text += std::to_string(refused()) + " refused" + (notWritten() > 0 ? ", " : "");
    if (notWritten() > 0)
        text += std::to_string(notWritten()) + " not written";
    return text;
}

} // namespace zelbrook
