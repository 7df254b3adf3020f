#include "tools/batch_render.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "tools/batch_progress.h"
#include "tools/printable_name.h"
#include "tools/render_command.h"
#include "tools/render_files.h"
#include "tools/render_job.h"

#include <QThread>

#include <algorithm>
#include <thread>
#include <utility>

namespace zelbrook {

namespace {

constexpr std::string_view kStartPoseStem = "default";

std::string quoted(std::string_view name)
{
    std::string text(1, '"');
    text += printableName(name);
    text += '"';
    return text;
}

std::string describedPose(const std::string &posePath) { return posePath.empty() ? "--default" : quoted(posePath); }

// The names in a list file, one a line. A line may end in CR LF; empty
// lines are skipped.
std::vector<std::string> listedNames(std::string_view text)
{
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!line.empty())
            names.emplace_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return names;
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

std::string BatchRender::outputStem(std::string_view posePath)
{
    const std::string_view name = posePath.substr(posePath.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    const std::size_t dot = name.rfind('.');
    // A leading dot starts a hidden file's name, not an extension.
    return std::string(dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::optional<BatchRender::Refusal> BatchRender::run()
{
    if (const std::optional<Refusal> refusal = collectItems())
        return refusal;
    if (const Status folder = RenderFiles::checkOutputFolder(m_batch.outputDir); !folder)
        return Refusal{Stop::Failure, printableName(m_batch.outputDir) + ": " + folder.error().message};
    BatchProgress progress(m_standardError, m_items.size(), m_errorIsTerminal && !m_batch.quiet);
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    const int threads = std::min<int>(threadCount(), static_cast<int>(std::max<std::size_t>(1, m_items.size())));
    for (int i = 0; i < threads; ++i)
        workers.emplace_back([&] { renderFrom(next, progress); });
    progress.waitUntilDone();
    for (std::thread &worker : workers)
        worker.join();
    return std::nullopt;
}

std::optional<BatchRender::Refusal> BatchRender::collectItems()
{
    TakenNames taken;
    for (const std::string &pose : m_batch.poses)
        if (const std::optional<Refusal> refusal = addItem(pose, outputStem(pose), taken))
            return refusal;
    if (m_batch.listPath) {
        const bool fromInput = *m_batch.listPath == "-";
        const Result<std::string> text = fromInput
                                             ? RenderFiles::readStream(m_standardInput, RenderFiles::kMaximumListBytes)
                                             : RenderFiles::readListBytes(*m_batch.listPath);
        if (!text)
            return Refusal{Stop::Failure, (fromInput ? "standard input" : printableName(*m_batch.listPath)) + ": "
                                              + text.error().message};
        for (const std::string &pose : listedNames(*text)) {
            if (pose == "-")
                return Refusal{Stop::CommandLine, "- (standard input) cannot be a pose with --output-dir"};
            if (const std::optional<Refusal> refusal = addItem(pose, outputStem(pose), taken))
                return refusal;
        }
    }
    if (m_batch.startPose)
        return addItem({}, kStartPoseStem, taken);
    return std::nullopt;
}

// Two outputs of one name would overwrite each other, so the second is
// refused before anything is written.
std::optional<BatchRender::Refusal> BatchRender::addItem(const std::string &posePath, std::string_view stem,
                                                         TakenNames &taken)
{
    if (stem.empty())
        return Refusal{Stop::CommandLine, "cannot name an output after " + quoted(posePath)};
    const std::string &folder = m_batch.outputDir;
    std::string output = folder + (folder.ends_with('/') ? "" : "/") + std::string(stem) + "."
                         + std::string(RenderOptions::extension(m_options.format));
    const auto [same, added] = taken.try_emplace(output, m_items.size());
    if (!added)
        return Refusal{Stop::CommandLine, describedPose(m_items[same->second].posePath) + " and "
                                              + describedPose(posePath) + " would both be written to "
                                              + quoted(output)};
    m_items.push_back({posePath, std::move(output)});
    return std::nullopt;
}

void BatchRender::renderFrom(std::atomic<std::size_t> &next, BatchProgress &progress)
{
    Exporter exporter;
    for (std::size_t index = next++; index < m_items.size(); index = next++) {
        renderItem(m_items[index], exporter, progress);
        progress.poseDone();
    }
}

void BatchRender::renderItem(const Item &item, Exporter &exporter, BatchProgress &progress)
{
    Result<Pose> pose = RenderJob::startPose(m_options);
    if (!item.posePath.empty()) {
        const Result<std::string> text = RenderFiles::readPoseBytes(item.posePath);
        pose = text ? RenderJob::poseFromText(*text, m_options) : Result<Pose>(text.error());
    }
    if (!pose) {
        progress.message(std::string(RenderCommand::kMessagePrefix) + printableName(item.posePath) + ": "
                         + pose.error().message);
        ++m_refused;
        return;
    }
    const Result<QByteArray> bytes =
        exporter.encode(RenderJob::figure(*pose, m_options), kProgramCaption, m_options.format, m_options.zoom);
    const Status written = bytes ? RenderFiles::writeOutput(item.outputPath, *bytes) : Status(bytes.error());
    if (!written) {
        progress.message(std::string(RenderCommand::kMessagePrefix) + printableName(item.outputPath) + ": "
                         + written.error().message);
        ++m_notWritten;
    }
}

int BatchRender::threadCount() const
{
    return m_batch.jobs > 0 ? m_batch.jobs : std::max(1, QThread::idealThreadCount());
}

std::string BatchRender::summary() const
{
    const std::size_t failed = refused() + notWritten();
    std::string text = "rendered " + std::to_string(total() - failed) + " of " + std::to_string(total())
                       + (total() == 1 ? " pose" : " poses");
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
