// SPDX-License-Identifier: GPL-3.0-or-later
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
// each input that fails, from any thread, and on a terminal a progress bar
// of frames (count, rate, time left) redrawn at most ten times a second. A
// pose is one frame; an animation is as many frames as it plays, known once
// it is read. A message
// clears the bar's line first, so the two never mix.
class BatchProgress
{
public:
    BatchProgress(QIODevice &standardError, std::size_t inputs, bool showBar);

    // Any thread may call these. Each input is counted once, before any of
    // its frames is done.
    void message(const std::string &text);
    void inputCounted(std::size_t frames);
    void framesDone(std::size_t frames = 1);

    // What a worker thread tells of the input it works on, so that an input
    // given up halfway (when memory runs out) still counts as done: the
    // frames it counted that are neither done nor handed to another thread
    // are then done, and an input not yet counted counts as one frame.
    void inputStarted();
    void frameHandedOver();
    void inputGivenUp();

    // Redraws the bar until every pose is done, then clears it. For the
    // thread that started the workers.
    void waitUntilDone();

    // The bar's line for `done` of `total` frames after `seconds`, such as
    // "[######              ]  120/500  24.0 frames/s  0:16 left".
    static std::string barLine(std::size_t done, std::size_t total, double seconds);

private:
    struct OpenInput {
        bool counted = false;
        std::size_t open = 0;
    };
    static thread_local OpenInput t_input;

    void writeLocked(const std::string &text);
    bool allDone() const;
    void tellIfAllDone();

    QIODevice &m_standardError;
    // Frames of the inputs counted so far, and inputs not counted yet.
    std::atomic<std::size_t> m_total{0};
    std::atomic<std::size_t> m_uncounted;
    const bool m_showBar;
    const std::chrono::steady_clock::time_point m_start;
    std::atomic<std::size_t> m_done{0};
    std::mutex m_mutex;
    std::condition_variable m_allDone;
    bool m_barShown = false;
    std::string m_bar;
};

} // namespace zelbrook
