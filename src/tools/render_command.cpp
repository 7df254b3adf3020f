#include "tools/render_command.h"

#include "tools/render_job.h"
#include "tools/render_options.h"

#include <QFile>
#include <QGuiApplication>

#include <unistd.h>

namespace zelbrook {

namespace {

const QString kMessagePrefix = QStringLiteral("zelbrook-render: ");

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

} // namespace

int RenderCommand::main(int argc, char **argv)
{
    const QStringList given = arguments(argc, argv);
    // Qt sees only the platform choice, so no argument of the user is ever
    // taken for one of Qt's own options.
    char name[] = "zelbrook-render", platformOption[] = "-platform", platform[] = "offscreen";
    char *qtArgv[] = {name, platformOption, platform, nullptr};
    int qtArgc = 3;
    qtMessageHandler = qInstallMessageHandler(quietMessageHandler);
    const QGuiApplication application(qtArgc, qtArgv);
    QFile input, output, error;
    openStream(input, STDIN_FILENO, QIODevice::ReadOnly);
    openStream(output, STDOUT_FILENO, QIODevice::WriteOnly);
    openStream(error, STDERR_FILENO, QIODevice::WriteOnly);
    return run(given, input, output, error);
}

int RenderCommand::run(const QStringList &arguments, QIODevice &standardInput, QIODevice &standardOutput,
                       QIODevice &standardError)
{
    const ParsedRenderArguments parsed = RenderOptions::parse(arguments);
    if (std::holds_alternative<RenderHelpRequest>(parsed)) {
        report(standardOutput, RenderOptions::usage());
        return Success;
    }
    if (const auto *usageError = std::get_if<RenderUsageError>(&parsed)) {
        report(standardError, kMessagePrefix + usageError->message + QStringLiteral("\n\n") + RenderOptions::usage());
        return UsageFailure;
    }
    RenderJob job(std::get<RenderOptions>(parsed), standardInput, standardOutput);
    if (const std::optional<QString> failure = job.run()) {
        report(standardError, kMessagePrefix + *failure + QLatin1Char('\n'));
        return Failure;
    }
    return Success;
}

QStringList RenderCommand::arguments(int argc, char **argv)
{
    QStringList list;
    for (int index = 1; index < argc; ++index)
        list << QFile::decodeName(argv[index]);
    return list;
}

void RenderCommand::report(QIODevice &device, const QString &text) { device.write(text.toLocal8Bit()); }

} // namespace zelbrook
