#include "tools/output_writers.h"

#include "tools/render_files.h"

#include <utility>

namespace zelbrook {

namespace {

constexpr std::size_t kMaximumQueued = 16;
// Enough for a few of the largest pictures (a bitmap at zoom 8 is 37 MB);
// one output is always taken, whatever its size.
constexpr qsizetype kMaximumQueuedBytes = 64 * 1024 * 1024;

} // namespace

OutputWriters::OutputWriters(int threads, Done done)
    : m_done(std::move(done))
{
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { writeQueued(); });
}

OutputWriters::~OutputWriters()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void OutputWriters::write(std::string path, QByteArray bytes)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] {
        return m_queue.empty()
               || (m_queue.size() < kMaximumQueued && m_queuedBytes + bytes.size() <= kMaximumQueuedBytes);
    });
    m_queuedBytes += bytes.size();
    m_queue.push_back({std::move(path), std::move(bytes)});
    lock.unlock();
    m_changed.notify_all();
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
        m_queuedBytes -= output.bytes.size();
        lock.unlock();
        m_changed.notify_all();
        m_done(output.path, RenderFiles::writeOutput(output.path, output.bytes));
    }
}

} // namespace zelbrook
