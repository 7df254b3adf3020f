// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "test_support.h"
#include "tools/render_process.h"

#include <QTest>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>

using namespace zelbrook;

namespace {

// The names in a folder as the bytes the system holds.
std::set<std::string> namesIn(const QString &folder)
{
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder.toStdString()))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

class TestRenderFfmpeg : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        Key key{Figure{Pose::defaults(RasterCanvas::kWindowUnitWidth)}, 3, 0, Ease::Linear};
        QFile file(m_dir.filePath("walk.zba"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(writeAnimationFile(Animation(Playback{12, true}, {key}))));
    }

    void awkwardNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("not UTF-8") << QByteArray("\xff.mp4");
        QTest::newRow("ffmpeg's standard output") << QByteArray("pipe:1.webm");
        QTest::newRow("ffmpeg's file protocol") << QByteArray("file:y.webm");
        QTest::newRow("an option") << QByteArray("-x.mp4");
        QTest::newRow("a network address") << QByteArray("http:x.mp4");
    }

    // ffmpeg writes the very file named, and only it.
    void awkwardNames()
    {
        QFETCH(QByteArray, name);
        if (!test::requireTool("ffmpeg", "makes the video"))
            return;
        test::TemporaryFolder folder;
        QVERIFY(QFile::copy(m_dir.filePath("walk.zba"), folder.path("walk.zba")));
        const RenderRun run = runRenderWithBytes(folder.path(), {"--", "walk.zba", name});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(namesIn(folder.path()), (std::set<std::string>{"walk.zba", name.toStdString()}));
        const std::string video = folder.path().toStdString() + "/" + name.toStdString();
        QVERIFY(std::filesystem::file_size(video) > 0);
        std::filesystem::remove(video);
    }

    void signalToTheProgramAlone_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    // A signal sent to zelbrook-render, not to ffmpeg, ends ffmpeg too and
    // leaves no unfinished video.
    void signalToTheProgramAlone()
    {
        QFETCH(int, signal);
        test::TemporaryFolder folder;
        QVERIFY(QFile::copy(m_dir.filePath("walk.zba"), folder.path("walk.zba")));
        test::writeFile(folder.path("ffmpeg"), "#!/bin/sh\necho $$ >ffmpeg.pid\nexec sleep 1000\n");
        QFile(folder.path("ffmpeg")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment environment = renderEnvironment();
        environment.insert("ZELBROOK_FFMPEG", folder.path("ffmpeg"));
        QProcess render;
        render.setProcessEnvironment(environment);
        render.setWorkingDirectory(folder.path());
        render.start(ZELBROOK_RENDER_PROGRAM, {"walk.zba", "walk.mp4"});
        QTRY_VERIFY_WITH_TIMEOUT(test::fileBytes(folder.path("ffmpeg.pid"), "").endsWith('\n'), 20000);
        const pid_t ffmpeg = test::fileBytes(folder.path("ffmpeg.pid")).trimmed().toInt();
        ::kill(static_cast<pid_t>(render.processId()), signal);
        QVERIFY(render.waitForFinished(20000));
        QCOMPARE(render.exitStatus(), QProcess::CrashExit);
        QVERIFY(::kill(ffmpeg, 0) != 0 && errno == ESRCH);
        QCOMPARE(namesIn(folder.path()), (std::set<std::string>{"ffmpeg", "ffmpeg.pid", "walk.zba"}));
    }

    // An ffmpeg that takes no frame is ended, and the run says so.
    void stoppedResponding()
    {
        test::TemporaryFolder folder;
        test::writeFile(folder.path("ffmpeg"), "#!/bin/sh\nexec sleep 1000\n");
        QFile(folder.path("ffmpeg")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment environment = renderEnvironment();
        environment.insert("ZELBROOK_FFMPEG", folder.path("ffmpeg"));
        environment.insert("ZELBROOK_FFMPEG_PATIENCE_MS", "1000");
        const RenderRun run = runRender(folder.path(), {m_dir.filePath("walk.zba"), "walk.webm"}, {}, {}, {},
                                        ZELBROOK_RENDER_PROGRAM, environment);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QByteArray("zelbrook-render: walk.webm: ffmpeg stopped responding.\n"));
        QCOMPARE(namesIn(folder.path()), std::set<std::string>{"ffmpeg"});
    }
};

QTEST_GUILESS_MAIN(TestRenderFfmpeg)
#include "tst_render_ffmpeg.moc"
