// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/temporary_file_registry.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>

#include <pthread.h>
#include <unistd.h>

namespace zelbrook {

namespace {

// More than the writer threads of a batch and a video encoder together.
constexpr std::size_t kSlots = 64;

enum SlotState : int { Free, Filling, Held };

struct Slot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};

std::array<Slot, kSlots> inFlight;
std::atomic<int> creating{0};
std::atomic<bool> ending{false};
thread_local sigset_t maskBeforeHold;

sigset_t terminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, signal);
    return set;
}

void removeAndEnd(int signal)
{
    ending.store(true);
    const timespec aMillisecond{0, 1000 * 1000};
    while (creating.load() > 0)
        ::nanosleep(&aMillisecond, nullptr);
    for (Slot &slot : inFlight) {
        if (slot.state.load() == Held)
            ::unlink(slot.path);
    }
    // The handler was reset to the default on entry and the signal is not
    // blocked inside it, so this ends the program with the signal's status.
    ::raise(signal);
}

} // namespace

int TemporaryFileRegistry::add(const std::string &path)
{
    if (path.size() >= PATH_MAX)
        return kNoSlot;
    for (std::size_t index = 0; index < kSlots; ++index) {
        int expected = Free;
        if (!inFlight[index].state.compare_exchange_strong(expected, Filling))
            continue;
        std::memcpy(inFlight[index].path, path.c_str(), path.size() + 1);
        inFlight[index].state.store(Held);
        return static_cast<int>(index);
    }
    return kNoSlot;
}

void TemporaryFileRegistry::remove(int slot)
{
    if (slot != kNoSlot)
        inFlight[static_cast<std::size_t>(slot)].state.store(Free);
}

void TemporaryFileRegistry::holdTermination()
{
    const sigset_t held = terminationSignals();
    ::pthread_sigmask(SIG_BLOCK, &held, &maskBeforeHold);
    ++creating;
    // The program is ending on another thread; making a file now would only
    // leave it behind.
    if (ending.load()) {
        --creating;
        for (;;)
            ::pause();
    }
}

void TemporaryFileRegistry::releaseTermination()
{
    --creating;
    ::pthread_sigmask(SIG_SETMASK, &maskBeforeHold, nullptr);
}

void TemporaryFileRegistry::removeOnTermination()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = removeAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND | SA_NODEFER;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace zelbrook
