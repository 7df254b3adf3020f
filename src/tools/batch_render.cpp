// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_render.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "platform/system_file.h"
#include "tools/animation_render.h"
#include "tools/atlas_clash.h"
#include "tools/batch_animation.h"
#include "tools/batch_frame_clash.h"
#include "tools/batch_progress.h"
#include "tools/output_writers.h"
#include "tools/render_command.h"
#include "tools/render_files.h"
#include "tools/render_job.h"
#include "tools/thread_group.h"

#include <QThread>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <utility>

namespace zelbrook {

namespace {

constexpr std::string_view kStartPoseStem = "default";
// Threads that put finished files in place; they spend their time waiting
// for the disk, not drawing.
constexpr int kWriterThreads = 8;

std::string quoted(std::string_view name)
{
    std::string text(1, '"');
    text += SystemFile::printableName(name);
    text += '"';
    return text;
}

} // namespace

BatchRender::BatchRender(RenderOptions options, QIODevice &standardInput, QIODevice &standardError,
                         bool errorIsTerminal)
    : m_options(std::move(options))
    , m_batch(*m_options.batch)
    , m_standardInput(standardInput)
    , m_standardError(standardError)
    , m_errorIsTerminal(errorIsTerminal)
{}

std::string_view BatchRender::outputStem(std::string_view posePath)
{
    const std::string_view name = posePath.substr(posePath.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    const std::size_t dot = name.rfind('.');
    // A leading dot starts a hidden file's name, not an extension.
    return dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot);
}

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

std::optional<BatchRender::Refusal> BatchRender::collectPoses()
{
    for (const std::string &pose : m_batch.poses)
        m_poses.add(pose);
    if (m_batch.listPath)
        if (const std::optional<Refusal> refusal = addListedPoses())
            return refusal;
    if (m_batch.startPose)
        m_poses.add({});
    for (std::size_t index = 0; index < m_poses.size(); ++index)
        if (stemOf(index).empty())
            return Refusal{Stop::CommandLine, "cannot name an output after " + quoted(m_poses[index])};
    return std::nullopt;
}

// The names in a list file, one a line. A line may end in CR LF; empty
// lines are skipped.
std::optional<BatchRender::Refusal> BatchRender::addListedPoses()
{
    const bool fromInput = *m_batch.listPath == "-";
    const Result<std::string> read = fromInput
                                         ? RenderFiles::readStream(m_standardInput, RenderFiles::kMaximumListBytes)
                                         : RenderFiles::readListBytes(*m_batch.listPath);
    if (!read)
        return Refusal{Stop::Failure, (fromInput ? "standard input" : SystemFile::printableName(*m_batch.listPath))
                                          + ": " + read.error().message};
    for (std::string_view text = *read; !text.empty();) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line == "-")
            return Refusal{Stop::CommandLine, "- (standard input) cannot be a pose with --output-dir"};
        if (!line.empty())
            m_poses.add(line);
    }
    return std::nullopt;
}

// Two outputs of one name would overwrite each other, so they are refused
// before anything is written. Sorting the poses by their output's name
// finds every such pair next to each other; a pose whose output is named as
// an animation's frame is found by reading the two.
std::optional<BatchRender::Refusal> BatchRender::findClash() const
{
    std::vector<std::uint32_t> order(m_poses.size());
    for (std::size_t index = 0; index < order.size(); ++index)
        order[index] = static_cast<std::uint32_t>(index);
    std::ranges::stable_sort(order, std::less<>(), [this](std::uint32_t index) { return stemOf(index); });
    const auto same =
        std::ranges::adjacent_find(order, std::equal_to<>(), [this](std::uint32_t i) { return stemOf(i); });
    if (same != order.end())
        return Refusal{Stop::CommandLine, describedPose(*same) + " and " + describedPose(*(same + 1))
                                              + " would both be written to " + quoted(outputPath(*same))};
    const auto atlas = m_options.atlas ? AtlasClash::find(
                           m_poses.size(), [this](std::size_t i) { return std::string(m_poses[i]); },
                           [this](std::size_t i) { return atlasPath(outputPath(i)); })
                                       : std::nullopt;
    if (atlas)
        return Refusal{Stop::CommandLine, "the atlas of " + describedPose(atlas->first)
                                              + " would take the name of the input " + describedPose(atlas->second)};
    if (!rendersFrames())
        return std::nullopt;
    const auto frames = [this](std::size_t index) -> std::optional<std::size_t> {
        const Result<RenderInput> input = readInput(index);
        if (!input || !input->isAnimation())
            return std::nullopt;
        return input->animation(m_options).frames().size();
    };
    const auto pair = BatchFrameClash::find(
        m_poses.size(), [this](std::size_t i) { return stemOf(i); }, frames);
    if (!pair)
        return std::nullopt;
    return Refusal{Stop::CommandLine, describedPose(pair->first) + " and " + describedPose(pair->second)
                                          + " would both be written to " + quoted(outputPath(pair->second))};
}

std::string_view BatchRender::stemOf(std::size_t index) const
{
    return m_poses[index].empty() ? kStartPoseStem : outputStem(m_poses[index]);
}

std::string BatchRender::stemPath(std::size_t index) const
{
    std::string path = m_batch.outputDir;
    if (!path.ends_with('/'))
        path += '/';
    path += stemOf(index);
    return path;
}

std::string BatchRender::outputPath(std::size_t index) const
{
    return stemPath(index) + "." + std::string(RenderOptions::extension(m_options.format));
}

std::string_view BatchRender::inputName(std::size_t index) const
{
    return m_poses[index].empty() ? RenderJob::kStartPoseName : m_poses[index];
}

std::string BatchRender::describedPose(std::size_t index) const
{
    return m_poses[index].empty() ? std::string(RenderJob::kStartPoseName) : quoted(m_poses[index]);
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
