// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include <grp.h>
#include <unistd.h>

// What a run of zelbrook-render gave back.
struct RenderRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The environment of a user with no display and no Qt platform.
inline QProcessEnvironment renderEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        environment.remove(name);
    return environment;
}

// Runs the built program in `folder`, with no display and no Qt platform in
// its environment, as a user would. `childSetup` runs in the child just
// before the program starts, to rearrange its file descriptors.
inline RenderRun runRender(const QString &folder, const QStringList &arguments, const QByteArray &input = {},
                           const QString &outputFile = {}, const std::function<void()> &childSetup = {},
                           const QString &program = ZELBROOK_RENDER_PROGRAM,
                           const QProcessEnvironment &environment = renderEnvironment())
{
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

// Runs the program as nobody, which only the superuser may do. Nobody may
// not enter the build folder (a checkout under /root is 0700), so the
// program is copied into a folder of its own under /tmp that every user may
// enter; our libraries are linked into it, and the system's, which it
// shares, every user may read. The run's folder and input must be as open.
class NobodyRun
{
public:
    static constexpr uid_t kNobody = 65534;

    NobodyRun()
        : m_dir(QStringLiteral("/tmp/zelbrook-render-XXXXXX"))
    {
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther;
        m_ready = ::geteuid() == 0 && m_dir.isValid() && QFile::copy(ZELBROOK_RENDER_PROGRAM, program())
                  && QFile::setPermissions(program(), open) && QFile::setPermissions(m_dir.path(), open);
    }

    // Why the program cannot be run as nobody here, or nothing.
    const char *whyNot() const
    {
        if (::geteuid() != 0)
            return "Only the superuser may run the program as another user.";
        return m_ready ? nullptr : "The program could not be copied where nobody may run it.";
    }

    QString program() const { return m_dir.filePath(QStringLiteral("zelbrook-render")); }

    // `limits` runs in the child before it becomes nobody. The leak checker
    // is left out: nobody may not read its list of known leaks in the
    // checkout, and the program's leaks are checked in the other tests.
    RenderRun run(const QString &folder, const QStringList &arguments, const std::function<void()> &limits = {}) const
    {
        QProcessEnvironment environment = renderEnvironment();
        environment.remove(QStringLiteral("LSAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        const auto becomeNobody = [limits] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0)
                ::_exit(99);
            if (limits)
                limits();
            if (::setuid(kNobody) != 0)
                ::_exit(99);
        };
        return runRender(folder, arguments, {}, {}, becomeNobody, program(), environment);
    }

private:
    QTemporaryDir m_dir;
    bool m_ready = false;
};
