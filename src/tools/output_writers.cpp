// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/output_writers.h"

#include "tools/render_files.h"

#include <utility>

namespace zelbrook {

namespace {

constexpr std::size_t kMaximumQueued = 16;
// The bytes queued and being written: enough for a few of the largest
// pictures (a bitmap at zoom 8 is 37 MB). One output is always taken when
// nothing else is pending, whatever its size.
constexpr qsizetype kMaximumPendingBytes = 64 * 1024 * 1024;

} // namespace

OutputWriters::OutputWriters(int threads)
{
    m_threads.start(threads, [this] { writeQueued(); });
}

OutputWriters::~OutputWriters()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_threads.join();
}

bool OutputWriters::write(std::string path, QByteArray bytes, Done done)
{
    if (m_threads.empty()) {
        done(RenderFiles::writeOutput(path, bytes));
        return false;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] {
        return m_queue.size() < kMaximumQueued
               && (m_pendingBytes == 0 || m_pendingBytes + bytes.size() <= kMaximumPendingBytes);
    });
    m_pendingBytes += bytes.size();
    m_queue.push_back({std::move(path), std::move(bytes), std::move(done)});
    lock.unlock();
    m_changed.notify_all();
    return true;
}

void OutputWriters::writeQueued()
{
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_closing || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        Output output = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        output.done(RenderFiles::writeOutput(output.path, output.bytes));
        lock.lock();
        m_pendingBytes -= output.bytes.size();
        lock.unlock();
        m_changed.notify_all();
    }
}

} // namespace zelbrook
