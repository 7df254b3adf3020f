// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_render.h"

#include "export/animation_target.h"
#include "platform/system_file.h"
#include "tools/atlas_clash.h"
#include "tools/batch_frame_clash.h"
#include "tools/render_files.h"
#include "tools/render_job.h"

#include <algorithm>
#include <cstdint>
#include <functional>

// The names of a batch: the inputs as given and listed, the outputs they
// become, and the clashes between them that stop a run before it starts.

namespace zelbrook {

namespace {

constexpr std::string_view kStartPoseStem = "default";

std::string quoted(std::string_view name)
{
    std::string text(1, '"');
    text += SystemFile::printableName(name);
    text += '"';
    return text;
}

} // namespace

std::string_view BatchRender::outputStem(std::string_view posePath)
{
    const std::string_view name = posePath.substr(posePath.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    const std::size_t dot = name.rfind('.');
    // A leading dot starts a hidden file's name, not an extension.
    return dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot);
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

} // namespace zelbrook
