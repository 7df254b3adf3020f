// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/thread_group.h"

#include <system_error>

namespace zelbrook {

ThreadGroup::~ThreadGroup() { join(); }

int ThreadGroup::start(int count, const std::function<void()> &body)
{
    int started = 0;
    try {
        for (; started < count; ++started)
            m_threads.emplace_back(body);
    } catch (const std::system_error &) {
    }
    return started;
}

void ThreadGroup::join()
{
    for (std::thread &thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
    m_threads.clear();
}

} // namespace zelbrook
