// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/broken_pipe_guard.h"

#include <ctime>

#include <pthread.h>

namespace zelbrook {

BrokenPipeGuard::BrokenPipeGuard()
{
    sigemptyset(&m_pipe);
    sigaddset(&m_pipe, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
}

BrokenPipeGuard::~BrokenPipeGuard()
{
    if (!m_wasPending) {
        const timespec noWait{};
        sigtimedwait(&m_pipe, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}

} // namespace zelbrook
