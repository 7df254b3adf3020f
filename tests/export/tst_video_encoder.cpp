// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/video_encoder.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
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

// The lowest of the frames' SSIM against the pictures in `frames` (1.png
// and on) by ffmpeg's ssim filter, the video cropped to the pictures' size.
double lowestSimilarity(const QString &video, const QString &frames, QSize size)
{
    const QString stats = frames + "/ssim.txt";
    QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-i", video, "-i", frames + "/%d.png", "-lavfi",
                                 QString("[0:v]format=yuv444p,crop=%1:%2:0:0[a];[1:v]format=yuv444p[b];"
                                         "[a][b]ssim=stats_file=%3")
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(stats),
                                 "-f", "null", "-"});
    double lowest = 2;
    for (const QByteArray &line : test::fileBytes(stats).split('\n'))
        if (const qsizetype at = line.indexOf("All:"); at >= 0)
            lowest = std::min(lowest, line.mid(at + 4).split(' ').first().toDouble());
    return lowest;
}

// The mean of each channel over the area of a picture.
QList<int> meanColour(const QImage &picture, QRect area)
{
    qint64 sums[3] = {0, 0, 0};
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb rgb = picture.pixel(x, y);
            sums[0] += qRed(rgb);
            sums[1] += qGreen(rgb);
            sums[2] += qBlue(rgb);
        }
    const qint64 pixels = qint64(area.width()) * area.height();
    return {int(sums[0] / pixels), int(sums[1] / pixels), int(sums[2] / pixels)};
}

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
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty() || QStandardPaths::findExecutable("ffprobe").isEmpty())
            QSKIP("ffmpeg is not installed");
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

    void picture_data()
    {
        QTest::addColumn<AnimatedFormat>("format");
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<QRect>("area"); // whose mean colour the video keeps

        const QImage red = test::withRectangle(test::whiteFrame(QSize(493, 397)), QRect(40, 40, 200, 200), test::kRed);
        const QList<QImage> squares{red, test::withRectangle(red, QRect(260, 120, 180, 180), test::kBlue)};
        const QRect inRed(60, 60, 160, 160);
        QTest::newRow("mp4, grey figure") << AnimatedFormat::Mp4 << test::walkingFrames(3) << QRect(0, 0, 493, 397);
        QTest::newRow("webm, grey figure") << AnimatedFormat::Webm << test::walkingFrames(3) << QRect(0, 0, 493, 397);
        QTest::newRow("mp4, red and blue squares") << AnimatedFormat::Mp4 << squares << inRed;
        QTest::newRow("webm, red and blue squares") << AnimatedFormat::Webm << squares << inRed;
    }

    // Every frame of the video looks like its picture (SSIM at least 0.98),
    // and a coloured area keeps its colour.
    void picture()
    {
        QFETCH(AnimatedFormat, format);
        QFETCH(QList<QImage>, frames);
        QFETCH(QRect, area);
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            QSKIP("ffmpeg is not installed");
        test::TemporaryFolder folder;
        const QString video = folder.path("video");
        VideoEncoder encoder(format, {12, true, size_t(frames.size())}, video.toStdString(), "ffmpeg");
        QVERIFY(test::encodeAll(encoder, frames).ok());
        for (qsizetype i = 0; i < frames.size(); ++i)
            QVERIFY(frames[i].save(folder.path(QString("%1.png").arg(i + 1))));
        const double similarity = lowestSimilarity(video, folder.path(), frames[0].size());
        QVERIFY2(similarity >= 0.98, qPrintable(QString::number(similarity)));
        QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-i", video, "-frames:v", "1", folder.path("0.png")});
        const QList<int> was = meanColour(frames[0], area);
        const QList<int> is = meanColour(QImage(folder.path("0.png")), area);
        for (int channel = 0; channel < 3; ++channel)
            QVERIFY2(qAbs(is[channel] - was[channel]) <= 8,
                     qPrintable(QString("%1 %2").arg(is[channel]).arg(was[channel])));
    }

    void failure_data()
    {
        QTest::addColumn<QString>("named");     // by ZELBROOK_FFMPEG, in the test's folder when it has a slash
        QTest::addColumn<QByteArray>("script"); // in the folder as "ffmpeg"; empty: no such program
        QTest::addColumn<int>("permissions");
        QTest::addColumn<QString>("said");

        const int runnable = QFile::ReadOwner | QFile::ExeOwner;
        QTest::newRow("missing") << "/ffmpeg" << QByteArray() << runnable << "was not found at /";
        QTest::newRow("not on the PATH") << "zelbrook-no-such-ffmpeg" << QByteArray() << runnable
                                         << "was not found on the PATH.";
        QTest::newRow("not runnable") << "/ffmpeg" << QByteArray("exit 0") << int(QFile::ReadOwner)
                                      << "could not be run: permission denied.";
        QTest::newRow("failing at once") << "/ffmpeg" << QByteArray("echo 'Unknown encoder' >&2; exit 1") << runnable
                                         << ": Unknown encoder.";
        QTest::newRow("failing at the end")
            << "/ffmpeg" << QByteArray("cat >/dev/null; echo 'one\nlast words' >&2; exit 1") << runnable
            << ": last words.";
    }

    // The error says what failed, quotes ffmpeg's last line and names the
    // formats that need no other program; no file is left behind.
    void failure()
    {
        QFETCH(QString, named);
        QFETCH(QByteArray, script);
        QFETCH(int, permissions);
        QFETCH(QString, said);
        test::TemporaryFolder folder;
        const QString program = named.startsWith('/') ? folder.path() + named : named;
        if (!script.isEmpty()) {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + script + "\n");
            file.close();
            file.setPermissions(QFile::Permissions(permissions));
        }
        qputenv("ZELBROOK_FFMPEG", program.toUtf8());
        const QString target = folder.path("walk.mp4");
        VideoEncoder encoder(AnimatedFormat::Mp4, {12, true, 3}, target.toStdString(), VideoEncoder::ffmpegProgram());
        qunsetenv("ZELBROOK_FFMPEG");
        const Status status = test::encodeAll(encoder, test::walkingFrames(3));
        QVERIFY(!status.ok());
        const QString message = QString::fromStdString(status.error().message);
        QVERIFY2(message.contains(said)
                     && message.endsWith("The formats gif, apng, webp and sheet need no other program.")
                     && !message.contains("exec"),
                 qPrintable(message));
        QCOMPARE(filesIn(folder), script.isEmpty() ? QStringList{} : QStringList{"ffmpeg"});
    }
};

QTEST_MAIN(TestVideoEncoder)
#include "tst_video_encoder.moc"
