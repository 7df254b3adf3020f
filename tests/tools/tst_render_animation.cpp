// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "tools/render_process.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelbrook;

namespace {

// Two keys: the first held 2 frames with 3 smooth in-betweens, the second 1
// frame with 2 back to the first: 8 frames looping, 6 once.
Animation walk(bool loop = true, int fps = 12)
{
    Key first{Figure{Pose::defaults(RasterCanvas::kWindowUnitWidth)}, 2, 3, Ease::Smooth};
    Key second = first;
    second.hold = 1;
    second.tweens = 2;
    second.figures.front().figure.pose.lLegAngle1 = 5.0;
    second.figures.front().figure.pose.rArmAngle1 = -1.0;
    second.figures.front().figure.pose.rotation = 0.5;
    return Animation(Playback{fps, loop}, {first, second});
}

} // namespace

class TestRenderAnimation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void writeAnimation(const QString &name, const Animation &animation) const
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(writeAnimationFile(animation)));
    }
    RenderRun render(const QStringList &arguments) const { return runRender(m_dir.path(), arguments); }
    QStringList entries(const QString &folder = ".") const
    {
        return QDir(m_dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private slots:
    void initTestCase()
    {
        writeAnimation("walk.zba", walk());
        writeAnimation("walk.json", walk());
        writeAnimation("fast.zba", walk(true, 60));
        QVERIFY(QDir(m_dir.path()).mkdir("frames"));
        QCOMPARE(render({"--format", "png", "--output-dir", "frames", "walk.zba"}).exitCode, 0);
    }

    void refusesWithReasonAndLeavesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("one picture of two keys")
            << QStringList{"walk.zba", "out.png"} << 2
            << "walk.zba: an animation of 2 keys cannot be a single png; give one "
               "of gif, apng, webp, mp4, webm, sheet, lottie, json and zba, --key N";
        QTest::newRow("a key it has not")
            << QStringList{"--key", "3", "walk.zba", "out.svg"} << 1 << "walk.zba: there is no key 3: it has 2 keys";
        QTest::newRow("too fast for gif")
            << QStringList{"fast.zba", "out.gif"} << 1 << "out.gif: A GIF cannot play more than 50 frames a second";
        QTest::newRow("sheet too large") << QStringList{"--zoom",    "8", "--format", "sheet",
                                                        "--columns", "8", "walk.zba", "out.png"}
                                         << 1 << "out.png: The sprite sheet would be 31552 by 3176 pixels";
        QTest::newRow("atlas over the input") << QStringList{"--format", "sheet", "--atlas", "walk.json", "walk.png"}
                                              << 1 << "walk.png: The atlas would take the input's name.";
        QTest::newRow("atlas over the input by another name")
            << QStringList{"--format", "sheet", "--atlas", "./walk.json", "walk.png"} << 1
            << "walk.png: The atlas would take the input's name.";
        QTest::newRow("scale past what a file holds") << QStringList{"--scale", "10", "walk.zba", "out.zba"} << 1
                                                      << "out.zba: The animation cannot be saved: key 1: scale is 10";
    }
    void refusesWithReasonAndLeavesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QStringList before = entries();
        const RenderRun run = render(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.startsWith(("zelbrook-render: " + message).toUtf8()), run.err.constData());
        QCOMPARE(entries(), before);
    }

    void saysWhenFfmpegIsMissing()
    {
        const QStringList before = entries();
        qputenv("ZELBROOK_FFMPEG", m_dir.filePath("no-such-ffmpeg").toUtf8());
        const RenderRun run = render({"walk.zba", "walk.mp4"});
        qunsetenv("ZELBROOK_FFMPEG");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("ffmpeg") && run.err.contains("gif"), run.err.constData());
        QCOMPARE(entries(), before);
    }

    // Numbered frames, motion data and the animation written again agree on
    // the frames the animation plays.
    void framesDataAndFileAgree()
    {
        QCOMPARE(entries("frames").size(), 8);
        QCOMPARE(entries("frames").last(), QString("walk-0008.png"));
        QCOMPARE(render({"--fps", "24", "walk.zba", "again.zba"}).exitCode, 0);
        QFile again(m_dir.filePath("again.zba"));
        QVERIFY(again.open(QIODevice::ReadOnly));
        const Result<Animation> read =
            readAnimationFile(again.readAll().toStdString(), Pose::defaults(RasterCanvas::kWindowUnitWidth));
        QVERIFY(read && read->keys() == walk().keys() && (read->playback() == Playback{24, true}));
        const RenderRun json = render({"--format", "json", "walk.zba", "-"});
        QCOMPARE(json.exitCode, 0);
        QVERIFY(json.out.startsWith("{\n  \"fps\": 12,\n  \"loop\": true,\n  \"frames\": [\n{\n  \"pose\""));
        QCOMPARE(json.out.count("\"penWidth\""), 8);
        QCOMPARE(render({"walk.zba", "walk.lottie.json"}).exitCode, 0);
        QCOMPARE(render({"--format", "lottie", "--output-dir", "frames", "walk.zba"}).exitCode, 0);
        for (const QString &name : {QString("walk.lottie.json"), QString("frames/walk.lottie.json")}) {
            QFile lottie(m_dir.filePath(name));
            QVERIFY(lottie.open(QIODevice::ReadOnly));
            const QJsonObject file = QJsonDocument::fromJson(lottie.readAll()).object();
            QCOMPARE(file["op"].toInt(), 8);
            QCOMPARE(file["markers"][1]["cm"].toString(), "walk/key 2");
        }
    }
};

QTEST_GUILESS_MAIN(TestRenderAnimation)
#include "tst_render_animation.moc"
