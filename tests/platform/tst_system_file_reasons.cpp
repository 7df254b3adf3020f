// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_file_helpers.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace zelbrook;

class TestSystemFileReasons : public QObject
{
    Q_OBJECT

private slots:
    void readPastTheReportedSize_data()
    {
        QTest::addColumn<int>("spare"); // bytes of the limit left over
        QTest::addColumn<bool>("whole");

        QTest::newRow("well within the limit") << 1000 << true;
        QTest::newRow("exactly the limit") << 0 << true;
        QTest::newRow("one byte past the limit") << -1 << false;
    }

    // The system reports no size for a process's name, which is the first
    // 15 bytes of the program's file name and a line end; it is read to its
    // end all the same.
    void readPastTheReportedSize()
    {
        QFETCH(int, spare);
        QFETCH(bool, whole);
        struct stat info;
        QCOMPARE(::stat("/proc/self/comm", &info), 0);
        QCOMPARE(info.st_size, 0);
        const std::string name =
            QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15).toStdString() + "\n";
        const std::size_t limit = name.size() + std::size_t(spare);
        const Result<std::string> read = SystemFile::read("/proc/self/comm", limit);
        if (whole)
            QCOMPARE(read ? *read : read.error().message, name);
        else
            QCOMPARE(read ? *read : read.error().message,
                     "The file is larger than " + std::to_string(limit) + " bytes.");
    }

    void failureReasons_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("name"); // in the temporary folder
        QTest::addColumn<bool>("otherUser");
        QTest::addColumn<QString>("message");

        const QString loop = "too many levels of symbolic links.";
        const QString slash = "Part of the path is a file, not a folder.";
        QTest::newRow("read a link loop") << "read"
                                          << "loop" << false << "The file could not be opened: " + loop;
        QTest::newRow("write a link loop") << "write"
                                           << "loop" << false << "The file could not be created: " + loop;
        QTest::newRow("read a file's name and a slash") << "read"
                                                        << "pose.zbk/" << false << slash;
        QTest::newRow("write a file's name and a slash") << "write"
                                                         << "pose.zbk/" << false << slash;
        QTest::newRow("write a new name and a slash")
            << "write"
            << "new/" << false << "The name ends with a slash, as a folder's name does, not a file's.";
        QTest::newRow("read a missing file") << "read"
                                             << "missing.zbk" << false << "The file does not exist.";
        QTest::newRow("write into a missing folder") << "write"
                                                     << "missing/new.zbk" << false << "The folder does not exist.";
        QTest::newRow("read inside a folder that is shut")
            << "read"
            << "shut/pose.zbk" << true << "The file could not be opened: permission denied.";
        QTest::newRow("write over a read-only file in an open folder")
            << "write"
            << "open/pose.zbk" << true << "The file could not be written: permission denied.";
        QTest::newRow("write into a read-only folder")
            << "write"
            << "readonly/new.zbk" << true << "The file could not be created: permission denied.";
    }

    // Another user than the superuser, who may enter any folder, makes the
    // call through a small program of its own, copied into the test's
    // folder, which that user may enter when the build folder is shut.
    void failureReasons()
    {
        QFETCH(QString, operation);
        QFETCH(QString, name);
        QFETCH(bool, otherUser);

        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + '/';
        putFile(folder + "pose.zbk", "pose");
        QCOMPARE(::symlink("loop", (folder + "loop").c_str()), 0);
        QCOMPARE(::mkdir((folder + "shut").c_str(), 0755), 0);
        putFile(folder + "shut/pose.zbk", "pose");
        QCOMPARE(::mkdir((folder + "readonly").c_str(), 0555), 0);
        QCOMPARE(::mkdir((folder + "open").c_str(), 0777), 0);
        QCOMPARE(::chmod((folder + "open").c_str(), 0777), 0);
        putFile(folder + "open/pose.zbk", "pose");
        QCOMPARE(::chmod((folder + "open/pose.zbk").c_str(), 0444), 0);
        QCOMPARE(::chmod((folder + "shut").c_str(), 0), 0);
        QCOMPARE(::chmod(folder.c_str(), 0755), 0);
        const auto reopen = qScopeGuard([&] { ::chmod((folder + "shut").c_str(), 0755); });

        const std::string path = folder + name.toStdString();
        QString message;
        if (!otherUser && operation == "read") {
            const Result<std::string> read = SystemFile::read(path, 100);
            message = read ? QString() : QString::fromStdString(read.error().message);
        } else if (!otherUser) {
            message = messageOf(SystemFile::write(path, "new"));
        } else {
            const QString probe = dir.filePath("probe");
            QVERIFY(QFile::copy(SYSTEM_FILE_PROBE, probe));
            QStringList command{probe, operation, QString::fromStdString(path), "new"};
            if (operation == "read")
                command.removeLast();
            if (::geteuid() == 0 && !test::requireTool("setpriv", "runs the probe as another user"))
                return;
            if (::geteuid() == 0)
                command = QStringList{"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"} + command;
            QProcess process;
            // The other user may not reach the leak checker's list of known
            // leaks in the checkout; the probe's own leaks are no concern.
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove("LSAN_OPTIONS");
            environment.insert("ASAN_OPTIONS", "detect_leaks=0");
            process.setProcessEnvironment(environment);
            const QString program = command.takeFirst();
            process.start(program, command);
            QVERIFY(process.waitForFinished());
            QCOMPARE(process.exitCode(), 1);
            message = QString::fromUtf8(process.readAllStandardOutput());
        }
        QTEST(message, "message");
        QCOMPARE(contentOf(folder + "open/pose.zbk"), "pose");
    }
};

QTEST_GUILESS_MAIN(TestSystemFileReasons)
#include "tst_system_file_reasons.moc"
