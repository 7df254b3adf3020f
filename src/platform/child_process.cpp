// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/child_process.h"

#include "platform/broken_pipe_guard.h"
#include "platform/exit_cleanup.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zelbrook {

namespace {

// How long one wait lasts before the program's silence is looked at again.
constexpr int kSliceMilliseconds = 50;

class SpawnSetup
{
public:
    SpawnSetup(int input, int errors)
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
        posix_spawnattr_init(&attributes);
        // The signals this program handles, blocks or ignores act on the
        // helper as they would on any program started from a shell.
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ})
            sigaddset(&defaults, signal);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

// Holds off the signals that end the program while a child is started and
// entered, so that none is started that a signal would not end.
class TerminationHold
{
public:
    TerminationHold() { ExitCleanup::holdTermination(); }
    ~TerminationHold() { ExitCleanup::releaseTermination(); }
    TerminationHold(const TerminationHold &) = delete;
    TerminationHold &operator=(const TerminationHold &) = delete;
};

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string &program, const std::vector<std::string> &arguments,
                                                  int &systemError)
{
    int input[2], errors[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
        systemError = errno;
        return nullptr;
    }
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        systemError = errno;
        ::close(input[0]);
        ::close(input[1]);
        return nullptr;
    }
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const SpawnSetup setup(input[0], errors[1]);
    const TerminationHold hold;
    pid_t pid = 0;
    systemError = ::posix_spawnp(&pid, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
    ::close(input[0]);
    ::close(errors[1]);
    if (systemError != 0) {
        ::close(input[1]);
        ::close(errors[0]);
        return nullptr;
    }
    ::fcntl(input[1], F_SETFL, O_NONBLOCK);
    ::fcntl(errors[0], F_SETFL, O_NONBLOCK);
    return std::unique_ptr<ChildProcess>(new ChildProcess(pid, input[1], errors[0]));
}

ChildProcess::ChildProcess(pid_t pid, int input, int errors)
    : m_pid(pid)
    , m_input(input)
    , m_errorPipe(errors)
    , m_slot(ExitCleanup::addChild(pid))
    , m_lastProgress(std::chrono::steady_clock::now())
{}

ChildProcess::~ChildProcess()
{
    end();
    closeInput();
    if (m_errorPipe >= 0)
        ::close(m_errorPipe);
}

ChildProcess::Outcome ChildProcess::write(std::string_view bytes)
{
    const BrokenPipeGuard guard;
    while (!bytes.empty()) {
        bool ready = false, closed = false;
        waitForEvents(POLLOUT, ready, closed);
        if (closed)
            return Outcome::InputClosed;
        if (ready) {
            const ssize_t written = ::write(m_input, bytes.data(), bytes.size());
            if (written > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(written));
                m_lastProgress = std::chrono::steady_clock::now();
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                return Outcome::InputClosed;
            }
        }
        if (!bytes.empty() && silentTooLong())
            return Outcome::Silent;
    }
    return Outcome::Done;
}

ChildProcess::Outcome ChildProcess::finish()
{
    closeInput();
    for (;;) {
        int status = 0;
        if (m_pid > 0 && ::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            ExitCleanup::removeChild(m_slot);
            m_slot = ExitCleanup::kNoSlot;
            m_pid = -1;
            // What it wrote last may still be in the pipe.
            readErrors();
            m_succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            return Outcome::Done;
        }
        bool ready = false, closed = false;
        waitForEvents(0, ready, closed);
        if (silentTooLong())
            return Outcome::Silent;
    }
}

void ChildProcess::end()
{
    if (m_pid <= 0)
        return;
    ::kill(-m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    ExitCleanup::removeChild(m_slot);
    m_slot = ExitCleanup::kNoSlot;
    m_pid = -1;
}

// Waits a moment for room in the input pipe (when asked) or for error
// output, whichever comes first, and keeps that output.
void ChildProcess::waitForEvents(short inputEvents, bool &inputReady, bool &inputClosed)
{
    pollfd watched[2] = {{inputEvents != 0 ? m_input : -1, inputEvents, 0}, {m_errorPipe, POLLIN, 0}};
    if (::poll(watched, 2, kSliceMilliseconds) <= 0)
        return;
    if (watched[1].revents != 0)
        readErrors();
    inputClosed = (watched[0].revents & (POLLERR | POLLHUP)) != 0;
    inputReady = (watched[0].revents & POLLOUT) != 0;
}

void ChildProcess::readErrors()
{
    char buffer[16384];
    while (m_errorPipe >= 0) {
        const ssize_t got = ::read(m_errorPipe, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return;
        if (got == 0) {
            ::close(m_errorPipe);
            m_errorPipe = -1;
            return;
        }
        m_errors.append(buffer, static_cast<std::size_t>(got));
        if (m_errors.size() > 2 * kKeptErrorBytes)
            m_errors.erase(0, m_errors.size() - kKeptErrorBytes);
    }
}

void ChildProcess::closeInput()
{
    if (m_input >= 0)
        ::close(m_input);
    m_input = -1;
}

// A change in the watched file's size is progress as much as input taken.
bool ChildProcess::silentTooLong()
{
    struct stat status {};
    const long long size = !m_watched.empty() && ::stat(m_watched.c_str(), &status) == 0 ? status.st_size : -1;
    const auto now = std::chrono::steady_clock::now();
    if (size != m_watchedSize) {
        m_watchedSize = size;
        m_lastProgress = now;
    }
    return now - m_lastProgress >= m_patience;
}

} // namespace zelbrook
