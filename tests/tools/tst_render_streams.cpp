#include "platform/raster_canvas.h"
#include "posefile/pose_writer.h"
#include "tools/render_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace zelbrook;

namespace {

QByteArray startPoseText()
{
    return QByteArray::fromStdString(writePoseFile(Pose::defaults(RasterCanvas::kWindowUnitWidth)));
}

// Made and read by the system's own calls, as Qt cannot name every file.
bool writeByName(const QByteArray &path, const QByteArray &bytes)
{
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = descriptor >= 0 && ::write(descriptor, bytes.constData(), bytes.size()) == bytes.size();
    return ::close(descriptor) == 0 && written;
}

bool existsByName(const QByteArray &path) { return ::access(path.constData(), F_OK) == 0; }

} // namespace

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
    }

    void undecodableNames()
    {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(QByteArray, err);
        const RenderRun run = runRenderWithBytes(m_dir.path(), arguments);
        QTEST(run.exitCode, "exitCode");
        QVERIFY2(run.err.startsWith(err), run.err.constData());
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
