// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>

namespace zelbrook {

// While it lives, a write by this thread to a pipe whose reader has gone
// fails with EPIPE instead of ending the process with SIGPIPE. A SIGPIPE
// raised meanwhile is taken away when it goes, unless one was already
// waiting before.
class BrokenPipeGuard
{
public:
    BrokenPipeGuard();
    BrokenPipeGuard(const BrokenPipeGuard &) = delete;
    BrokenPipeGuard &operator=(const BrokenPipeGuard &) = delete;
    ~BrokenPipeGuard();

private:
    sigset_t m_pipe;
    sigset_t m_old;
    bool m_wasPending = false;
};

} // namespace zelbrook
