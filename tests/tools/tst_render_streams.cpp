// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "posefile/pose_writer.h"
#include "test_support.h"
#include "tools/render_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <future>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace zelbrook;

namespace {

QByteArray startPoseText()
{
    return QByteArray::fromStdString(writePoseFile(Pose::defaults(RasterCanvas::kWindowUnitWidth)));
}

// The start-up pose held for 250 frames.
QByteArray longAnimationText()
{
    const Key key{Figure{Pose::defaults(RasterCanvas::kWindowUnitWidth)}, 250, 0, Ease::Linear};
    return QByteArray::fromStdString(writeAnimationFile(Animation(Playback{12, true}, {key})));
}

// Made and read by the system's own calls, as Qt cannot name every file.
bool writeByName(const QByteArray &path, const QByteArray &bytes)
{
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = descriptor >= 0 && ::write(descriptor, bytes.constData(), bytes.size()) == bytes.size();
    return ::close(descriptor) == 0 && written;
}

bool existsByName(const QByteArray &path) { return ::access(path.constData(), F_OK) == 0; }

enum class Trouble { ReaderLeaves, FileSizeLimit, FewThreads };

// What the child meets: a pipe whose reader takes ten bytes and goes, a
// file-size limit of 100 KiB, or, as nobody, a limit of one thread at most.
std::function<void()> troubleFor(Trouble trouble, int pipeEnd)
{
    return [=] {
        if (trouble == Trouble::ReaderLeaves)
            ::dup2(pipeEnd, STDOUT_FILENO);
        const rlimit fileSize{100 * 1024, 100 * 1024}, processes{2, 2};
        if (trouble == Trouble::FileSizeLimit)
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
        if (trouble == Trouble::FewThreads && ::setrlimit(RLIMIT_NPROC, &processes) != 0)
            ::_exit(99);
    };
}

QStringList outputs(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

Q_DECLARE_METATYPE(Trouble)

class TestRenderStreams : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QByteArray path(const QByteArray &name) const { return QFile::encodeName(m_dir.path()) + "/" + name; }

private slots:
    // Qt cannot remove files whose names it cannot decode.
    void cleanupTestCase() { QCOMPARE(QProcess::execute("rm", {"-rf", "--", m_dir.path()}), 0); }

    void closedStreams_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("stream");      // closed before the program starts
        QTest::addColumn<bool>("readerGone"); // the stream is a pipe without a reader
        QTest::addColumn<QByteArray>("err");

        const QByteArray brokenPipe = "zelbrook-render: standard output: It could not be written: Broken pipe.\n";
        QTest::newRow("png to a pipe without reader")
            << QStringList{"--default", "--format", "png", "-"} << -1 << true << brokenPipe;
        QTest::newRow("json to a pipe without reader")
            << QStringList{"--default", "--format", "json", "-"} << -1 << true << brokenPipe;
        QTest::newRow("closed standard output")
            << QStringList{"--default", "--format", "svg", "-"} << STDOUT_FILENO << false
            << QByteArray("zelbrook-render: standard output: It could not be written: Bad file descriptor.\n");
        QTest::newRow("help to a closed standard output")
            << QStringList{"--help"} << STDOUT_FILENO << false
            << QByteArray("zelbrook-render: standard output: It could not be written: Bad file descriptor.\n");
        QTest::newRow("version to a pipe without reader") << QStringList{"--version"} << -1 << true << brokenPipe;
        QTest::newRow("closed standard input")
            << QStringList{"-", "out.json"} << STDIN_FILENO << false
            << QByteArray("zelbrook-render: standard input: It could not be read: Bad file descriptor.\n");
    }

    // A reader that has gone away or a closed stream is a failure with the
    // system's reason, and never ends the program by a signal.
    void closedStreams()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, stream);
        QFETCH(bool, readerGone);
        int ends[2];
        QVERIFY(::pipe(ends) == 0);
        ::close(ends[0]);
        const int writeEnd = ends[1];
        const RenderRun run = runRender(m_dir.path(), arguments, {}, {}, [=] {
            if (readerGone)
                ::dup2(writeEnd, STDOUT_FILENO);
            if (stream >= 0)
                ::close(stream);
        });
        ::close(writeEnd);
        QTEST(run.err, "err");
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!QFile::exists(m_dir.filePath("out.json")));
    }

    void undecodableNames_data()
    {
        QTest::addColumn<QList<QByteArray>>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err");

        QTest::newRow("missing pose") << QList<QByteArray>{"miss\xff.zbk", "o.json"} << 1
                                      << QByteArray("zelbrook-render: miss\\xff.zbk: The file does not exist.\n");
        QTest::newRow("unknown extension")
            << QList<QByteArray>{"--default", "o\xfe.tif"} << 2
            << QByteArray(
                   "zelbrook-render: cannot tell the format of \"o\\xfe.tif\" from its extension; give --format");
        QTest::newRow("clash") << QList<QByteArray>{"--output-dir", ".", "--format", "svg", "a\xff.zbk", "b/a\xff.x"}
                               << 2
                               << QByteArray("zelbrook-render: \"a\\xff.zbk\" and \"b/a\\xff.x\" would both be written "
                                             "to \"./a\\xff.svg\"");
        QTest::newRow("atlas naming its sheet")
            << QList<QByteArray>{"--format", "sheet", "--atlas", "--default", "caf\xe9.png"} << 0 << QByteArray();
    }

    void undecodableNames()
    {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(QByteArray, err);
        const RenderRun run = runRenderWithBytes(m_dir.path(), arguments);
        QTEST(run.exitCode, "exitCode");
        QVERIFY2(run.err.startsWith(err), run.err.constData());
    }

    void trouble_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Trouble>("trouble");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QStringList>("left"); // in the folder "out"
        QTest::addColumn<QStringList>("kept"); // old files in "out" that must stay as they were

        const QByteArray full = "Not all of the file could be written; the disk may be full.\n";
        QTest::newRow("reader leaves mid-write")
            << QStringList{"--default", "--zoom", "8", "--format", "bmp", "-"} << Trouble::ReaderLeaves << 1
            << QByteArray("zelbrook-render: standard output: It could not be written: Broken pipe.\n") << QStringList()
            << QStringList();
        QTest::newRow("file-size limit") << QStringList{"--default", "--zoom", "8", "out/a.bmp"}
                                         << Trouble::FileSizeLimit << 1 << "zelbrook-render: out/a.bmp: " + full
                                         << QStringList() << QStringList();
        QTest::newRow("file-size limit, batch")
            << QStringList{"--output-dir", "out", "--format", "bmp", "--zoom", "8", "--default"}
            << Trouble::FileSizeLimit << 1
            << "zelbrook-render: out/default.bmp: " + full + "zelbrook-render: rendered 0 of 1 pose; 1 not written\n"
            << QStringList() << QStringList();
        // A long name makes each frame's entry in the atlas longer, so that
        // the sheet fits under the limit and the atlas does not.
        const QString sheet(200, 's');
        const QStringList sheetAndAtlas{sheet + ".json", sheet + ".png"};
        QTest::newRow("file-size limit, sheet and atlas")
            << QStringList{"--format", "sheet", "--atlas", "--trim", "long.zba", "out/" + sheet + ".png"}
            << Trouble::FileSizeLimit << 1
            << ("zelbrook-render: out/" + sheet + ".png: The atlas out/" + sheet + ".json: ").toUtf8() + full
            << sheetAndAtlas << sheetAndAtlas;
        QTest::newRow("threads that cannot start")
            << QStringList{"--output-dir", "out", "--format", "png", "--jobs", "256", "--quiet", "a.zbk", "b.zbk"}
            << Trouble::FewThreads << 0 << QByteArray() << QStringList{"a.png", "b.png"} << QStringList();
    }

    // Each ends with its message and exit status, and leaves no temporary
    // file behind.
    void trouble()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Trouble, trouble);
        const NobodyRun nobody;
        if (trouble == Trouble::FewThreads && nobody.whyNot())
            QSKIP(nobody.whyNot());
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("out"));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permission(0x7777)));
        QVERIFY(QFile::setPermissions(dir.filePath("out"), QFileDevice::Permission(0x7777)));
        for (const char *pose : {"a.zbk", "b.zbk"})
            QVERIFY(writeByName(QFile::encodeName(dir.filePath(pose)), startPoseText()));
        QVERIFY(writeByName(QFile::encodeName(dir.filePath("long.zba")), longAnimationText()));
        QFETCH(QStringList, kept);
        for (const QString &old : kept)
            QVERIFY(writeByName(QFile::encodeName(dir.filePath("out/" + old)), "old"));
        int ends[2];
        QVERIFY(::pipe2(ends, O_CLOEXEC) == 0);
        std::future<void> reader = std::async(std::launch::async, [&] {
            char ten[10];
            (void)::read(ends[0], ten, sizeof ten);
            ::close(ends[0]);
        });
        const RenderRun run = trouble == Trouble::FewThreads
                                  ? nobody.run(dir.path(), arguments, troubleFor(trouble, ends[1]))
                                  : runRender(dir.path(), arguments, {}, {}, troubleFor(trouble, ends[1]));
        ::close(ends[1]);
        reader.get();
        QTEST(run.exitCode, "exitCode");
        QTEST(run.err, "err");
        QTEST(outputs(dir.filePath("out")), "left");
        for (const QString &old : kept)
            QCOMPARE(test::fileBytes(dir.filePath("out/" + old)), QByteArray("old"));
    }

    void interruptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("signal");

        const QStringList batch{"--output-dir", "out", "--format", "bmp", "--zoom", "8", "--jobs", "2", "--default"};
        QTest::newRow("SIGINT, batch") << batch + QStringList{"a.zbk", "b.zbk", "c.zbk"} << SIGINT;
        QTest::newRow("SIGTERM, batch") << batch + QStringList{"a.zbk", "b.zbk", "c.zbk"} << SIGTERM;
        QTest::newRow("SIGHUP, one picture") << QStringList{"--default", "--zoom", "8", "out/a.bmp"} << SIGHUP;
    }

    // The signal ends the program as it would have, once the files in
    // flight are removed; finished outputs stay.
    void interruptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, signal);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("out"));
        for (const char *pose : {"a.zbk", "b.zbk", "c.zbk"})
            QVERIFY(writeByName(QFile::encodeName(dir.filePath(pose)), startPoseText()));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(ZELBROOK_RENDER_PROGRAM, arguments);
        QVERIFY(process.waitForStarted());
        const auto inFlight = [&] { return outputs(dir.filePath("out")).filter(".bmp.").size(); };
        for (int waited = 0; inFlight() == 0 && waited < 30000 && process.state() == QProcess::Running; ++waited)
            QTest::qSleep(1);
        QVERIFY(inFlight() > 0);
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(inFlight(), 0);
    }

    // The names are kept as the bytes given, from the pose to the output.
    void bytesOfNames()
    {
        QVERIFY(writeByName(path("pose\xff.zbk"), startPoseText()));
        QVERIFY(QDir(m_dir.path()).mkdir("out"));
        const RenderRun single = runRenderWithBytes(m_dir.path(), {"pose\xff.zbk", "out\xff.png"});
        const RenderRun batch =
            runRenderWithBytes(m_dir.path(), {"--output-dir", "out", "--format", "json", "pose\xff.zbk"});
        QCOMPARE(single.exitCode, 0);
        QVERIFY(existsByName(path("out\xff.png")));
        QCOMPARE(batch.exitCode, 0);
        QVERIFY(existsByName(path("out/pose\xff.json")));
    }
};

QTEST_GUILESS_MAIN(TestRenderStreams)
#include "tst_render_streams.moc"
