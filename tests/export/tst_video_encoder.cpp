// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/video_encoder.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using namespace zelbrook;

namespace {

// What ffprobe says of a video: width,height,frames.
QString probe(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                              "stream=width,height,nb_read_frames", "-of", "csv=p=0", path});
    ffprobe.waitForFinished(-1);
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}

QStringList filesIn(const test::TemporaryFolder &folder) { return QDir(folder.path()).entryList(QDir::Files); }

} // namespace

class TestVideoEncoder : public QObject
{
    Q_OBJECT

private slots:
    void video_data()
    {
        QTest::addColumn<AnimatedFormat>("format");
        QTest::addColumn<QString>("probed");

        QTest::newRow("mp4, padded to even sizes") << AnimatedFormat::Mp4 << "494,398,5";
        QTest::newRow("webm, its own size") << AnimatedFormat::Webm << "493,397,5";
    }

    // The finished video takes the target's place; an unfinished one leaves
    // nothing behind.
    void video()
    {
        QFETCH(AnimatedFormat, format);
        QFETCH(QString, probed);
        if (!test::requireTool("ffmpeg", "makes the videos") || !test::requireTool("ffprobe", "reads them back"))
            return;
        test::TemporaryFolder folder;
        const QString target = folder.path("walk.video");
        VideoEncoder encoder(format, {12, true, 5}, target.toStdString(), "ffmpeg");
        QVERIFY(test::encodeAll(encoder, test::walkingFrames(5)).ok());
        QCOMPARE(probe(target), probed);
        {
            VideoEncoder unfinished(format, {12, true, 5}, folder.path("gone").toStdString(), "ffmpeg");
            QVERIFY(unfinished.addFrame(test::walkingFrames(1)[0]).ok());
        }
        QCOMPARE(filesIn(folder), QStringList{"walk.video"});
    }

    void colour_data()
    {
        QTest::addColumn<AnimatedFormat>("format");

        QTest::newRow("mp4") << AnimatedFormat::Mp4;
        QTest::newRow("webm") << AnimatedFormat::Webm;
    }

    // A large red square is red in the video: its mean colour within a few
    // levels of its own.
    void colour()
    {
        QFETCH(AnimatedFormat, format);
        if (!test::requireTool("ffmpeg", "makes and reads the video"))
            return;
        test::TemporaryFolder folder;
        const QRect square(40, 40, 200, 200);
        const QImage frame = test::withRectangle(test::whiteFrame(QSize(493, 397)), square, test::kRed);
        VideoEncoder encoder(format, {12, true, 1}, folder.path("video").toStdString(), "ffmpeg");
        QVERIFY(test::encodeAll(encoder, {frame}).ok());
        QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-i", folder.path("video"), folder.path("frame.png")});
        const QImage inside = QImage(folder.path("frame.png")).copy(square.adjusted(20, 20, -20, -20));
        const QRgb mean = inside.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0);
        const int off = std::max({qAbs(qRed(mean) - 0xc0), qAbs(qGreen(mean) - 0x30), qAbs(qBlue(mean) - 0x20)});
        QVERIFY2(off <= 8, qPrintable(QColor(mean).name()));
    }

    void failure_data()
    {
        QTest::addColumn<QString>("named");     // by ZELBROOK_FFMPEG, in the test's folder when it has a slash
        QTest::addColumn<QByteArray>("script"); // in the folder as "ffmpeg"; empty: no such program
        QTest::addColumn<int>("permissions");
        QTest::addColumn<QString>("said");

        const int runnable = QFile::ReadOwner | QFile::ExeOwner;
        const QString hint = ". The formats gif, apng, webp and sheet need no other program.";
        QTest::newRow("missing") << "/ffmpeg" << QByteArray() << runnable << "/ffmpeg" + hint;
        QTest::newRow("not on the PATH") << "zelbrook-no-such-ffmpeg" << QByteArray() << runnable
                                         << "was not found on the PATH" + hint;
        QTest::newRow("not runnable") << "/ffmpeg" << QByteArray("exit 0") << int(QFile::ReadOwner)
                                      << "could not be run: permission denied" + hint;
        QTest::newRow("failing at once") << "/ffmpeg" << QByteArray("echo 'Unknown encoder' >&2; exit 1") << runnable
                                         << "ffmpeg failed: Unknown encoder.";
        QTest::newRow("failing at the end")
            << "/ffmpeg" << QByteArray("cat >/dev/null; echo 'one\nlast words' >&2; exit 1") << runnable
            << "ffmpeg failed: last words.";
        QTest::newRow("exiting 0 without writing")
            << "/ffmpeg" << QByteArray("cat >/dev/null; exit 0") << runnable << "ffmpeg wrote no video.";
        QTest::newRow("reading nothing") << "/ffmpeg" << QByteArray("exec sleep 1000") << runnable
                                         << "ffmpeg stopped responding.";
        QTest::newRow("never ending") << "/ffmpeg" << QByteArray("cat >/dev/null; sleep 1000") << runnable
                                      << "ffmpeg stopped responding.";
        QTest::newRow("flooding, with escapes")
            << "/ffmpeg"
            << QByteArray("cat >/dev/null; head -c 1000000 /dev/zero | tr '\\0' x >&2;"
                          "printf '\\nlast\\033]0;title\\007 words\\n' >&2; exit 1")
            << runnable << "ffmpeg failed: last\\x1b]0;title\\x07 words.";
    }

    // The error says what failed, with ffmpeg's last line escaped, and names
    // the formats that need no other program only when ffmpeg did not start;
    // the old file stays as it was, and no other file is left behind.
    void failure()
    {
        QFETCH(QString, named);
        QFETCH(QByteArray, script);
        QFETCH(int, permissions);
        QFETCH(QString, said);
        test::TemporaryFolder folder;
        const QString program = named.startsWith('/') ? folder.path() + named : named;
        if (!script.isEmpty()) {
            test::writeFile(program, "#!/bin/sh\n" + script + "\n");
            QFile(program).setPermissions(QFile::Permissions(permissions));
        }
        const QString target = folder.path("walk.mp4");
        test::writeFile(target, "old");
        qputenv("ZELBROOK_FFMPEG", program.toUtf8());
        qputenv("ZELBROOK_FFMPEG_PATIENCE_MS", "1000");
        VideoEncoder encoder(AnimatedFormat::Mp4, {12, true, 3}, target.toStdString(), VideoEncoder::ffmpegProgram());
        qunsetenv("ZELBROOK_FFMPEG");
        const Status status = test::encodeAll(encoder, test::walkingFrames(3));
        qunsetenv("ZELBROOK_FFMPEG_PATIENCE_MS");
        QVERIFY(!status.ok());
        const QString message = QString::fromStdString(status.error().message);
        QVERIFY2(message.endsWith(said) && message.size() < 4200, qPrintable(message.left(200)));
        QCOMPARE(test::fileBytes(target), QByteArray("old"));
        const QStringList left = script.isEmpty() ? QStringList{"walk.mp4"} : QStringList{"ffmpeg", "walk.mp4"};
        QCOMPARE(filesIn(folder), left);
    }
};

QTEST_MAIN(TestVideoEncoder)
#include "tst_video_encoder.moc"
