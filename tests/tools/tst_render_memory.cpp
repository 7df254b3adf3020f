// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_process.h"
#include "test_support.h"

#include <QDir>
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

} // namespace

class TestRenderMemory : public QObject
{
    Q_OBJECT

private slots:
    // Once the program waits for its input, its address space is limited to a few MiB more
    // than it has: reading 12 MB runs out. That is a message, exit 1, and no file.
    void runningOutOfMemoryIsAFailure_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("animated picture") << "o.gif";
    }
    void runningOutOfMemoryIsAFailure()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#endif
        QFETCH(QString, output);
        QTemporaryDir dir;
        QProcess process;
        process.setProcessEnvironment(renderEnvironment());
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(ZELBROOK_RENDER_PROGRAM), {QStringLiteral("-"), output});
        QVERIFY(process.waitForStarted());
        const rlim_t size = sizeWhenReading(process.processId());
        if (size == 0) {
            process.kill();
            QSKIP("The program's system calls cannot be seen here");
        }
        const rlimit limit{size + kRoom, RLIM_INFINITY};
        QVERIFY(::prlimit(static_cast<pid_t>(process.processId()), RLIMIT_AS, &limit, nullptr) == 0);
        process.write(QByteArray(R"({"format": "zelbrook-animation", "notes": ")") + QByteArray(12000000, 'a')
                      + QByteArray(R"("})"));
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit);
        QCOMPARE(process.readAllStandardError(),
                 QByteArray("zelbrook-render: standard input: There is not enough memory to render it.\n"));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_MAIN(TestRenderMemory)
#include "tst_render_memory.moc"
