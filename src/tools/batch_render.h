#pragma once

#include "model/result.h"
#include "tools/render_options.h"

#include <QIODevice>

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelbrook {

class BatchProgress;
class Exporter;

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
    std::size_t total() const { return m_items.size(); }
    std::size_t refused() const { return m_refused.load(); }
    std::size_t notWritten() const { return m_notWritten.load(); }
    // "rendered 197 of 200 poses; 2 refused, 1 not written"
    std::string summary() const;

    // The name of the output for a pose file: the file's name without its
    // last extension. Empty when the path names no file, as "dir/" or "..".
    static std::string outputStem(std::string_view posePath);

private:
    struct Item {
        std::string posePath; // empty for the start-up pose
        std::string outputPath;
    };

    std::optional<Refusal> collectItems();
    // Outputs already taken, each with the index of its item.
    using TakenNames = std::unordered_map<std::string, std::size_t>;
    std::optional<Refusal> addItem(const std::string &posePath, std::string_view stem, TakenNames &taken);
    void renderFrom(std::atomic<std::size_t> &next, BatchProgress &progress);
    void renderItem(const Item &item, Exporter &exporter, BatchProgress &progress);
    int threadCount() const;

    RenderOptions m_options;
    const RenderBatch &m_batch;
    QIODevice &m_standardInput;
    QIODevice &m_standardError;
    bool m_errorIsTerminal;
    std::vector<Item> m_items;
    std::atomic<std::size_t> m_refused{0};
    std::atomic<std::size_t> m_notWritten{0};
};

} // namespace zelbrook
