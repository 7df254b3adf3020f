// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"
#include "tools/pose_name_list.h"
#include "tools/render_input.h"
#include "tools/render_options.h"

#include <QIODevice>

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

class BatchAnimation;
class BatchProgress;
class Exporter;
class OutputWriters;

// zelbrook-render with --output-dir: every pose into its own file in one
// folder, on several threads. Each thread keeps its own exporter, so memory
// does not grow with the number of poses, and each output is the same bytes
// whatever the number of threads.
class BatchRender
{
public:
    // Which exit status a failure before any rendering calls for.
    enum class Stop { CommandLine, Failure };
    struct Refusal {
        Stop stop;
        std::string message;
    };

    // options.batch must be present.
    BatchRender(RenderOptions options, QIODevice &standardInput, QIODevice &standardError, bool errorIsTerminal);

    // Renders every pose. Empty when the run went ahead (the counts tell how
    // it went); else why nothing was rendered.
    std::optional<Refusal> run();
    std::size_t total() const { return m_poses.size(); }
    std::size_t refused() const { return m_refused.load(); }
    std::size_t notWritten() const { return m_notWritten.load(); }
    // "rendered 197 of 200 poses; 2 refused, 1 not written"
    std::string summary() const;

    // The name of the output for a pose file: the file's name without its
    // last extension. Empty when the path names no file, as "dir/" or "..".
    static std::string_view outputStem(std::string_view posePath);

private:
    std::optional<Refusal> collectPoses();
    std::optional<Refusal> addListedPoses();
    std::optional<Refusal> findClash() const;
    // The start-up pose has no name and is rendered as "default".
    std::string_view stemOf(std::size_t index) const;
    std::string outputPath(std::size_t index) const;
    // The pose file's name, or --default for the start-up pose.
    std::string_view inputName(std::size_t index) const;
    std::string describedPose(std::size_t index) const;
    void prepareText() const;
    std::string stemPath(std::size_t index) const;
    void renderFrom(std::atomic<std::size_t> &next, OutputWriters &writers, BatchProgress &progress);
    void renderOne(std::size_t index, const BatchAnimation &animations, Exporter &exporter, OutputWriters &writers,
                   BatchProgress &progress);
    Result<RenderInput> readInput(std::size_t index) const;
    bool rendersFrames() const;
    void renderScene(std::size_t index, const RenderInput &input, Exporter &exporter, OutputWriters &writers,
                     BatchProgress &progress);
    // Reports the failure and counts it; fail() also counts the input's one
    // frame as done.
    void fail(BatchProgress &progress, std::string_view name, const Error &error, std::atomic<std::size_t> &count);
    void report(BatchProgress &progress, std::string_view name, const Error &error, std::atomic<std::size_t> &count);
    int threadCount() const;

    RenderOptions m_options;
    const RenderBatch &m_batch;
    QIODevice &m_standardInput;
    QIODevice &m_standardError;
    bool m_errorIsTerminal;
    PoseNameList m_poses;
    std::atomic<std::size_t> m_refused{0};
    std::atomic<std::size_t> m_notWritten{0};
    // The summary counts files rather than poses once an animation is among
    // them.
    std::atomic<bool> m_animationsSeen{false};
};

} // namespace zelbrook
