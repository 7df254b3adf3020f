#pragma once

#include <QIODevice>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>

namespace zelbrook {

// What a batch run shows on standard error while it runs: the message of
// each pose that fails, from any thread, and on a terminal a progress bar
// (count, rate, time left) redrawn at most ten times a second. A message
// clears the bar's line first, so the two never mix.
class BatchProgress
{
public:
    BatchProgress(QIODevice &standardError, std::size_t total, bool showBar);

    // Any thread may call these.
    void message(const std::string &text);
    void poseDone();

    // Redraws the bar until every pose is done, then clears it. For the
    // thread that started the workers.
    void waitUntilDone();

    // The bar's line for `done` of `total` poses after `seconds`, such as
    // "[######              ]  120/500  24.0 poses/s  0:16 left".
    static std::string barLine(std::size_t done, std::size_t total, double seconds);

private:
    void writeLocked(const std::string &text);

    QIODevice &m_standardError;
    const std::size_t m_total;
    const bool m_showBar;
    const std::chrono::steady_clock::time_point m_start;
    std::atomic<std::size_t> m_done{0};
    std::mutex m_mutex;
    std::condition_variable m_allDone;
    bool m_barShown = false;
    std::string m_bar;
};

} // namespace zelbrook
