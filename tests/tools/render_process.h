// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>

#include <functional>

// What a run of zelbrook-render gave back.
struct RenderRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built program in `folder`, with no display and no Qt platform in
// its environment, as a user would. `childSetup` runs in the child just
// before the program starts, to rearrange its file descriptors.
inline RenderRun runRender(const QString &folder, const QStringList &arguments, const QByteArray &input = {},
                           const QString &outputFile = {}, const std::function<void()> &childSetup = {},
                           const QString &program = ZELBROOK_RENDER_PROGRAM)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The same with arguments that need not be UTF-8: a shell passes them on as
// the very bytes, written out in octal.
inline RenderRun runRenderWithBytes(const QString &folder, const QList<QByteArray> &arguments)
{
    QString script = QStringLiteral("exec \"$0\"");
    for (const QByteArray &argument : arguments) {
        script += QStringLiteral(" \"$(printf '");
        for (const char byte : argument)
            script += QStringLiteral("\\%1").arg(static_cast<unsigned char>(byte), 3, 8, QLatin1Char('0'));
        script += QStringLiteral("')\"");
    }
    return runRender(folder, {QStringLiteral("-c"), script, QStringLiteral(ZELBROOK_RENDER_PROGRAM)}, {}, {}, {},
                     QStringLiteral("/bin/sh"));
}
