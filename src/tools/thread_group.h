// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <thread>
#include <vector>

namespace zelbrook {

// Threads that run one function each. The system may refuse a thread (a
// limit on processes, or on memory for its stack); the group then runs on
// those that did start.
class ThreadGroup
{
public:
    ThreadGroup() = default;
    ThreadGroup(const ThreadGroup &) = delete;
    ThreadGroup &operator=(const ThreadGroup &) = delete;
    ~ThreadGroup();

    // Starts up to `count` threads that run `body`, and says how many the
    // system allowed.
    int start(int count, const std::function<void()> &body);
    bool empty() const { return m_threads.empty(); }
    // Waits for every thread to end.
    void join();

private:
    std::vector<std::thread> m_threads;
};

} // namespace zelbrook
