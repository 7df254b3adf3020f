// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/exit_cleanup.h"

#include "platform/folder_removal.h"
#include "platform/numbered_files.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>

#include <errno.h>
#include <pthread.h>
#include <sys/wait.h>
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
std::array<std::atomic<pid_t>, kSlots> children{};
std::array<std::atomic<const NumberedFiles *>, kSlots> numbered{};
Slot folder;
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

template <typename T>
int enter(std::array<std::atomic<T>, kSlots> &table, T value)
{
    for (std::size_t index = 0; index < kSlots; ++index) {
        T expected{};
        if (table[index].compare_exchange_strong(expected, value))
            return static_cast<int>(index);
    }
    return ExitCleanup::kNoSlot;
}

template <typename T>
void leave(std::array<std::atomic<T>, kSlots> &table, int slot)
{
    if (slot != ExitCleanup::kNoSlot)
        table[static_cast<std::size_t>(slot)].store(T{});
}

void writeText(const char *text)
{
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
}

// "zelbrook-render: interrupted after writing 2433 frames; the new ones were
// removed", written with no allocation.
void sayWhatWasRemoved(std::size_t written)
{
    char number[24];
    char *digit = number + sizeof number - 1;
    *digit = '\0';
    do
        *--digit = static_cast<char>('0' + written % 10);
    while ((written /= 10) > 0);
    writeText(program_invocation_short_name);
    writeText(": interrupted after writing ");
    writeText(digit);
    writeText(" numbered files; the new ones were removed\n");
}

void removeAndEnd(int signal)
{
    ending.store(true);
    const timespec aMillisecond{0, 1000 * 1000};
    while (creating.load() > 0)
        ::nanosleep(&aMillisecond, nullptr);
    for (std::atomic<pid_t> &child : children) {
        if (const pid_t pid = child.load(); pid > 0) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    for (Slot &slot : inFlight) {
        if (slot.state.load() == Held)
            ::unlink(slot.path);
    }
    std::size_t written = 0;
    for (std::atomic<const NumberedFiles *> &files : numbered) {
        if (const NumberedFiles *series = files.load()) {
            series->removeCreated();
            written += series->writtenCount();
        }
    }
    if (written > 0)
        sayWhatWasRemoved(written);
    if (folder.state.load() == Held)
        removeFolderTree(folder.path);
    // The handler was reset to the default on entry and the signal is not
    // blocked inside it, so this ends the program with the signal's status.
    ::raise(signal);
}

} // namespace

int ExitCleanup::add(const std::string &path)
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

void ExitCleanup::remove(int slot)
{
    if (slot != kNoSlot)
        inFlight[static_cast<std::size_t>(slot)].state.store(Free);
}

int ExitCleanup::addChild(pid_t pid) { return enter(children, pid); }

void ExitCleanup::removeChild(int slot) { leave(children, slot); }

int ExitCleanup::addNumbered(const NumberedFiles *files) { return enter(numbered, files); }

void ExitCleanup::removeNumbered(int slot) { leave(numbered, slot); }

void ExitCleanup::setFolder(const std::string &path)
{
    if (path.size() >= PATH_MAX)
        return;
    folder.state.store(Filling);
    std::memcpy(folder.path, path.c_str(), path.size() + 1);
    folder.state.store(Held);
}

void ExitCleanup::clearFolder() { folder.state.store(Free); }

void ExitCleanup::holdTermination()
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

void ExitCleanup::releaseTermination()
{
    --creating;
    ::pthread_sigmask(SIG_SETMASK, &maskBeforeHold, nullptr);
}

void ExitCleanup::removeOnTermination()
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
