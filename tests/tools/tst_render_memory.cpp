// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_process.h"
#include "test_support.h"

#include "posefile/pose_writer.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>

using namespace zelbrook;

namespace {

// Room the program may take beyond what it has mapped when it starts to read.
constexpr rlim_t kRoom = 8 * 1024 * 1024;

// The program's address space in bytes, once it waits to read its standard
// input; 0 when that cannot be seen here.
rlim_t sizeWhenReading(qint64 pid)
{
    const QString process = QString::number(pid);
    for (int tries = 0; tries < 3000; ++tries) {
        const QByteArray call = test::fileBytes("/proc/" + process + "/syscall", {});
        if (call.isEmpty())
            return 0;
        if (call.startsWith("0 ")) // read, which it makes only to read its input
            return test::statusBytes(process, "VmSize");
        QTest::qWait(10);
    }
    return 0;
}

// An animation file of 12 MB, most of it one string.
QByteArray largeAnimation()
{
    return QByteArray(R"({"format": "zelbrook-animation", "notes": ")") + QByteArray(12000000, 'a')
           + QByteArray(R"("})");
}

} // namespace

class TestRenderMemory : public QObject
{
    Q_OBJECT

private slots:
    // Once the program waits for its input, its address space is limited to a few MiB more
    // than it has: reading 12 MB, drawing a picture of 50 MB, or a batch worker reading 12 MB
    // runs out. That is a message, exit 1, and no file.
    void runningOutOfMemoryIsAFailure_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("err"); // a pattern of the whole of standard error
        const QString noMemory = "There is not enough memory to ";
        QTest::newRow("animated picture")
            << QStringList{"-", "o.gif"} << largeAnimation()
            << QRegularExpression::escape("zelbrook-render: standard input: " + noMemory + "render it.\n");
        QTest::newRow("png at zoom 8") << QStringList{"--zoom", "8", "-", "o.png"}
                                       << QByteArray::fromStdString(writePoseFile(test::startPose()))
                                       << "zelbrook-render: (o\\.png: " + noMemory
                                              + "convert the picture to PNG|standard input: " + noMemory
                                              + "render it)\\.\n";
        QTest::newRow("batch worker") << QStringList{"--output-dir", ".",      "--format", "gif", "--jobs", "1",
                                                     "--quiet",      "--list", "-"}
                                      << QByteArray("large.zba\n")
                                      << QRegularExpression::escape(
                                             "zelbrook-render: large.zba: " + noMemory
                                             + "render it.\nzelbrook-render: rendered 0 of 1 pose; 1 not written\n");
    }
    void runningOutOfMemoryIsAFailure()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#endif
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, err);
        QTemporaryDir dir;
        test::writeFile(dir.filePath("large.zba"), largeAnimation());
        QProcess process;
        process.setProcessEnvironment(renderEnvironment());
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(ZELBROOK_RENDER_PROGRAM), arguments);
        QVERIFY(process.waitForStarted());
        const rlim_t size = sizeWhenReading(process.processId());
        if (size == 0) {
            process.kill();
            QSKIP("The program's system calls cannot be seen here");
        }
        const rlimit limit{size + kRoom, RLIM_INFINITY};
        QVERIFY(::prlimit(static_cast<pid_t>(process.processId()), RLIMIT_AS, &limit, nullptr) == 0);
        process.write(input);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit);
        const QString said = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(QRegularExpression("\\A" + err + "\\z").match(said).hasMatch(), qPrintable(said));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"large.zba"});
    }
};

QTEST_MAIN(TestRenderMemory)
#include "tst_render_memory.moc"
