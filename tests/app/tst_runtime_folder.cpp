// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/exit_cleanup.h"
#include "platform/runtime_folder.h"

#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelbrook;

class TestRuntimeFolder : public QObject
{
    Q_OBJECT

private slots:
    void leavesNothing_data()
    {
        QTest::addColumn<bool>("session"); // whether the session has a runtime folder
        QTest::newRow("not set") << false;
        QTest::newRow("set by the session") << true;
    }

    // The editor's start-up and end, with the temporary folder the test's
    // own: Qt finds a runtime folder without making one, the session's is
    // left as it is, and nothing is left in the temporary folder. The
    // session's folder is one of the test's own, private as a session's is.
    void leavesNothing()
    {
        QFETCH(bool, session);
        const QTemporaryDir sessionFolder;
        const QByteArray given = session ? QFile::encodeName(sessionFolder.path()) : QByteArray();
        QTemporaryDir temporary;
        const QByteArray wasTemporary = qgetenv("TMPDIR"), wasRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        given.isEmpty() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", given);
        QString runtime;
        {
            const RuntimeFolder folder("zelbrook");
            int argc = 3;
            char name[] = "zelbrook", platformOption[] = "-platform", platform[] = "offscreen";
            char *argv[] = {name, platformOption, platform, nullptr};
            const QGuiApplication application(argc, argv);
            runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        }
        const QByteArray after = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", wasTemporary);
        wasRuntime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", wasRuntime);
        if (given.isEmpty()) {
            QVERIFY2(runtime.startsWith(temporary.path() + "/zelbrook-"), qPrintable(runtime));
        } else {
            QCOMPARE(after, given);
            QCOMPARE(runtime, sessionFolder.path());
        }
        QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void removedOnSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    // A signal that ends the editor removes its folder with what Qt wrote
    // into it, and the editor ends as the signal would have ended it.
    void removedOnSignal()
    {
        QFETCH(int, signal);
        QTemporaryDir temporary;
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("TMPDIR", QFile::encodeName(temporary.path()).constData(), 1);
            ::unsetenv("XDG_RUNTIME_DIR");
            std::signal(signal, SIG_DFL);
            ExitCleanup::removeOnTermination();
            const RuntimeFolder folder("zelbrook");
            const std::string inside = ::getenv("XDG_RUNTIME_DIR");
            ::mkdir((inside + "/QtProject").c_str(), 0700);
            std::ofstream(inside + "/QtProject.conf") << "[FileDialog]\n";
            std::ofstream(inside + "/QtProject/state") << "x";
            ::kill(::getpid(), signal);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_APPLESS_MAIN(TestRuntimeFolder)
#include "tst_runtime_folder.moc"
