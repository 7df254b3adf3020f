// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>

#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// The zelbrook-render program: its arguments, its messages and its exit
// status. Messages start with the program's name; a usage error is followed
// by a line that points to --help.
class RenderCommand
{
public:
    enum ExitStatus { Success = 0, Failure = 1, UsageFailure = 2 };
    // Every message on standard error starts with this.
    static constexpr std::string_view kMessagePrefix = "zelbrook-render: ";
    // The line after a usage error.
    static constexpr std::string_view kTryHelp = "Try 'zelbrook-render --help' for more information.\n";

    // The whole program. Qt runs on the offscreen platform whatever the
    // environment says, so no display is ever needed.
    static int main(int argc, char **argv);

    // The arguments exclude the program's name and are kept as the bytes
    // given. A progress bar is shown only when standard error is a terminal.
    // The help and version texts go to standardOutput, a rendered output
    // given as "-" to the process's standard output.
    static int run(const std::vector<std::string> &arguments, QIODevice &standardInput, QIODevice &standardOutput,
                   QIODevice &standardError, bool errorIsTerminal = false);

private:
    // False when not all of the text could be written.
    static bool report(QIODevice &device, std::string_view text);
};

} // namespace zelbrook
