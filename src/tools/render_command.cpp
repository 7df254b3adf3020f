// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_command.h"

#include "platform/exit_cleanup.h"
#include "tools/batch_render.h"
#include "tools/headless_environment.h"
#include "tools/render_job.h"
#include "tools/render_options.h"
#include "tools/shelf_listing.h"

#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace zelbrook {

namespace {

QtMessageHandler qtMessageHandler = nullptr;

// Outside a desktop session (a script, a container, a build server) Qt warns
// at start-up that XDG_RUNTIME_DIR is not set, about a folder this program
// never uses. Every other message of Qt goes out as usual.
void quietMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qtMessageHandler && !message.startsWith(QLatin1StringView("QStandardPaths: XDG_RUNTIME_DIR not set")))
        qtMessageHandler(type, context, message);
}

// On the file descriptor and unbuffered, with no C library buffer between,
// so a failed write shows at the write that failed.
void openStream(QFile &file, int descriptor, QIODevice::OpenMode mode)
{
    file.open(descriptor, mode | QIODevice::Unbuffered);
}

// A standard stream that was closed before the program started is given
// /dev/null opened the wrong way round: using it then fails with "Bad file
// descriptor" as a closed stream should, and no file the program opens can
// take its number and receive what was meant for the stream.
void holdClosedStreams()
{
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != descriptor) {
            ::dup2(held, descriptor);
            ::close(held);
        }
    }
}

// One line with the reason and one that points to --help, as other command
// line tools do; the whole usage would bury the reason.
std::string usageFailure(const std::string &message)
{
    return std::string(RenderCommand::kMessagePrefix) + message + "\n" + std::string(RenderCommand::kTryHelp);
}

} // namespace

int RenderCommand::main(int argc, char **argv)
{
    // A reader that has gone away makes a write fail with "Broken pipe",
    // which is reported like any failed write, instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    // A file-size limit then makes a write fail like a full disk, so the run
    // reports it and removes its unfinished file instead of being killed.
    std::signal(SIGXFSZ, SIG_IGN);
    ExitCleanup::removeOnTermination();
    holdClosedStreams();
    const std::vector<std::string> given(argv + std::min(argc, 1), argv + argc);
    // Qt sees only the platform choice, so no argument of the user is ever
    // taken for one of Qt's own options.
    char name[] = "zelbrook-render", platformOption[] = "-platform", platform[] = "offscreen";
    char *qtArgv[] = {name, platformOption, platform, nullptr};
    int qtArgc = 3;
    qtMessageHandler = qInstallMessageHandler(quietMessageHandler);
    const HeadlessEnvironment environment;
    const QGuiApplication application(qtArgc, qtArgv);
    environment.removeRuntimeFolder();
    QFile input, output, error;
    openStream(input, STDIN_FILENO, QIODevice::ReadOnly);
    openStream(output, STDOUT_FILENO, QIODevice::WriteOnly);
    openStream(error, STDERR_FILENO, QIODevice::WriteOnly);
    return run(given, input, output, error, ::isatty(STDERR_FILENO) == 1);
}

int RenderCommand::run(const std::vector<std::string> &arguments, QIODevice &standardInput, QIODevice &standardOutput,
                       QIODevice &standardError, bool errorIsTerminal)
{
    ParsedRenderArguments parsed = RenderOptions::parse(arguments);
    if (std::holds_alternative<RenderHelpRequest>(parsed) || std::holds_alternative<RenderVersionRequest>(parsed)) {
        const bool help = std::holds_alternative<RenderHelpRequest>(parsed);
        if (report(standardOutput, help ? RenderOptions::usage() : RenderOptions::version()))
            return Success;
        report(standardError, std::string(kMessagePrefix) + "standard output: It could not be written: "
                                  + standardOutput.errorString().toStdString() + ".\n");
        return Failure;
    }
    if (std::holds_alternative<RenderListPosesRequest>(parsed))
        return report(standardOutput, shelfListing()) ? Success : Failure;
    if (const auto *usageError = std::get_if<RenderUsageError>(&parsed)) {
        report(standardError, usageFailure(usageError->message));
        return UsageFailure;
    }
    RenderOptions &options = std::get<RenderOptions>(parsed);
    if (options.batch) {
        const bool quiet = options.batch->quiet;
        BatchRender batch(std::move(options), standardInput, standardError, errorIsTerminal);
        if (const std::optional<BatchRender::Refusal> refusal = batch.run()) {
            const bool usage = refusal->stop == BatchRender::Stop::CommandLine;
            report(standardError,
                   usage ? usageFailure(refusal->message) : std::string(kMessagePrefix) + refusal->message + "\n");
            return usage ? UsageFailure : Failure;
        }
        const bool failed = batch.refused() + batch.notWritten() > 0;
        if (failed || !quiet)
            report(standardError, std::string(kMessagePrefix) + batch.summary() + "\n");
        return failed ? Failure : Success;
    }
    RenderJob job(std::move(options), standardInput);
    if (const Status done = job.run(); !done) {
        if (job.failedOnCommandLine()) {
            report(standardError, usageFailure(done.error().message));
            return UsageFailure;
        }
        report(standardError, std::string(kMessagePrefix) + done.error().message + "\n");
        return Failure;
    }
    return Success;
}

bool RenderCommand::report(QIODevice &device, std::string_view text)
{
    return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

} // namespace zelbrook
