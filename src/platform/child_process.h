// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace zelbrook {

// A helper program fed on its standard input, whose error output is kept
// (its last few kilobytes only, however much it writes) and whose silence is
// timed. It runs in a process group of its own, which ends with it: when this
// object goes, and when a signal ends this program.
class ChildProcess
{
public:
    // How a write to the program or a wait for its end came out.
    enum class Outcome { Done, InputClosed, Silent };

    // The program is looked for on the PATH unless its name has a slash; the
    // arguments reach it as the very bytes given. Null when it could not be
    // started, with the system's error number in `systemError`.
    static std::unique_ptr<ChildProcess> start(const std::string &program, const std::vector<std::string> &arguments,
                                               int &systemError);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // The program is silent when it takes no input and the watched file does
    // not change size for this long.
    void setPatience(std::chrono::milliseconds patience) { m_patience = patience; }
    void watchFile(std::string path) { m_watched = std::move(path); }

    Outcome write(std::string_view bytes);
    // Closes the program's input and waits for it to end.
    Outcome finish();
    // After finish() gave Done: whether the program exited with status 0.
    bool succeeded() const { return m_succeeded; }
    // The end of what the program wrote to its error output.
    std::string_view errorTail() const
    {
        return std::string_view(m_errors).substr(m_errors.size() - std::min(m_errors.size(), kKeptErrorBytes));
    }
    // Ends the program and everything it started, at once.
    void end();

    static constexpr std::size_t kKeptErrorBytes = 4096;

private:
    ChildProcess(pid_t pid, int input, int errors);
    void waitForEvents(short inputEvents, bool &inputReady, bool &inputClosed);
    void readErrors();
    void closeInput();
    bool silentTooLong();

    pid_t m_pid;
    int m_input;
    int m_errorPipe;
    int m_slot;
    std::string m_errors;
    std::string m_watched;
    long long m_watchedSize = -1;
    std::chrono::milliseconds m_patience{30000};
    std::chrono::steady_clock::time_point m_lastProgress;
    bool m_succeeded = false;
};

} // namespace zelbrook
