// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"
#include "tools/thread_group.h"

#include <QByteArray>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

namespace zelbrook {

// Writes finished outputs on threads of their own. Putting a file safely in
// place waits for the disk, mostly for its sync; with several of those
// waits under way at once the file system serves them together, and the
// threads that draw need not wait at all. At most a few outputs and a
// bounded number of bytes are queued or being written, so memory stays flat
// however many outputs pass through.
class OutputWriters
{
public:
    // Called on a writer thread once the output is written or has failed.
    using Done = std::function<void(const Status &written)>;

    // Where no thread can be started, each output is written by the thread
    // that hands it over.
    explicit OutputWriters(int threads);
    // Writes what is queued, then ends the threads.
    ~OutputWriters();

    // Queues the output; waits while the queue is full. Whether it went to
    // a writer thread: false when it was written, and done called, before
    // this returns.
    bool write(std::string path, QByteArray bytes, Done done);

private:
    struct Output {
        std::string path;
        QByteArray bytes;
        Done done;
    };

    void writeQueued();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Output> m_queue;
    qsizetype m_pendingBytes = 0; // queued or being written
    bool m_closing = false;
    ThreadGroup m_threads;
};

} // namespace zelbrook
