// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "posefile/pose_writer.h"
#include "test_support.h"
#include "tools/render_process.h"

#include <QDir>
#include <QTest>

#include <csignal>

using namespace zelbrook;

namespace {

// `keys` keys, each held `hold` frames with `tweens` in-betweens.
QByteArray animationText(int keys, int hold, int tweens)
{
    Key key{Figure{Pose::defaults(RasterCanvas::kWindowUnitWidth)}, hold, tweens, Ease::Linear};
    std::vector<Key> all(static_cast<std::size_t>(keys), key);
    for (int k = 0; k < keys; ++k)
        all[static_cast<std::size_t>(k)].figures.front().figure.pose.rotation = 0.5 * k;
    return QByteArray::fromStdString(writeAnimationFile(Animation(Playback{12, true}, all)));
}

} // namespace

class TestRenderFrames : public QObject
{
    Q_OBJECT

private:
    test::TemporaryFolder m_dir;

    QStringList written() const { return QDir(m_dir.path("out")).entryList(QDir::Files, QDir::Name); }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path("out")).removeRecursively() && QDir().mkpath(m_dir.path("out")));
        test::writeFile(m_dir.path("walk.zba"), animationText(1, 5, 0));
        test::writeFile(m_dir.path("out/walk-0002.png"), "old");
        const QByteArray pose =
            QByteArray::fromStdString(writePoseFile(Pose::defaults(RasterCanvas::kWindowUnitWidth)));
        for (const char *name : {"walk-0005.zbk", "walk-0006.zbk", "walk-005.zbk", "walk-00005.zbk"})
            test::writeFile(m_dir.path(name), pose);
        test::writeFile(m_dir.path("walk-0005.zba"), animationText(1, 2, 0));
    }

    void batch_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("folderInTheWay"); // in out/
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("left"); // in out/

        const QStringList frames{"walk-0001.png", "walk-0002.png", "walk-0003.png", "walk-0004.png", "walk-0005.png"};
        QTest::newRow("a pose named as a frame") << QStringList{"walk-0005.zbk", "walk.zba"} << "" << 2
                                                 << "\"walk.zba\" and \"walk-0005.zbk\" would both be written to "
                                                    "\"out/walk-0005.png\""
                                                 << QStringList{"walk-0002.png"};
        QTest::newRow("names past the frames or of other widths")
            << QStringList{"walk.zba", "walk-0006.zbk", "walk-005.zbk", "walk-00005.zbk"} << "" << 0
            << "rendered 4 of 4 files" << QStringList{"walk-00005.png", "walk-0006.png", "walk-005.png"} + frames;
        QTest::newRow("an animation named as a frame writes frames of its own")
            << QStringList{"walk.zba", "walk-0005.zba"} << "" << 0 << "rendered 2 of 2 files"
            << frames + QStringList{"walk-0005-0001.png", "walk-0005-0002.png"};
        QTest::newRow("a frame not written")
            << QStringList{"walk.zba"} << "walk-0004.png" << 1
            << "out/walk-0004.png: It is a folder, not a file. 4 of 5 frames had been written; the 3 new ones were "
               "removed.\nzelbrook-render: rendered 0 of 1 file; 1 not written"
            << QStringList{"walk-0002.png"};
    }

    // Frame names clash like any other names, and a failed animation takes
    // away the frames it created, not those it replaced.
    void batch()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QString, folderInTheWay);
        QFETCH(QStringList, left);
        if (!folderInTheWay.isEmpty())
            QVERIFY(QDir(m_dir.path("out")).mkdir(folderInTheWay));
        const RenderRun run = runRender(m_dir.path(), QStringList{"--format", "png", "--output-dir", "out"} + inputs);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QVERIFY2(run.exitCode == exitCode && run.err.contains(said.toUtf8()), run.err.constData());
        left.sort();
        QCOMPARE(written(), left);
        QCOMPARE(test::fileBytes(m_dir.path("out/walk-0002.png")) == "old", exitCode == 2);
    }

    // A run ended by a signal takes away the frames it created and says how
    // many it had written.
    void interrupted()
    {
        test::writeFile(m_dir.path("long.zba"), animationText(2, 1000, 1000));
        QProcess render;
        render.setProcessEnvironment(renderEnvironment());
        render.setWorkingDirectory(m_dir.path());
        render.start(ZELBROOK_RENDER_PROGRAM, {"--format", "png", "--output-dir", "out", "--jobs", "1", "long.zba"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir.path("out/long-0001.png")), 20000);
        ::kill(static_cast<pid_t>(render.processId()), SIGTERM);
        QVERIFY(render.waitForFinished(20000));
        QCOMPARE(render.exitStatus(), QProcess::CrashExit);
        QVERIFY(render.readAllStandardError().startsWith("zelbrook-render: interrupted after writing "));
        QCOMPARE(written(), QStringList{"walk-0002.png"});
    }
};

QTEST_GUILESS_MAIN(TestRenderFrames)
#include "tst_render_frames.moc"
