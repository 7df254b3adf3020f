// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_reading.h"

#include <QFile>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <array>

using namespace zelbrook;

namespace {

constexpr std::array kPictureFormats{std::pair{AnimatedFormat::Gif, "gif"}, std::pair{AnimatedFormat::Apng, "apng"},
                                     std::pair{AnimatedFormat::Webp, "webp"}};

// One row for each picture format, with the pictures it writes; a format
// given 0 has no row. An APNG takes no colour that its first frame lacks
// unless it is told of it, and a GIF no more than 256 colours exactly.
void addAnimation(const char *name, const QList<QImage> &frames, int fps, bool loop, std::array<int, 3> written)
{
    for (std::size_t i = 0; i < kPictureFormats.size(); ++i)
        if (written[i] > 0)
            QTest::addRow("%s: %s", kPictureFormats[i].second, name)
                << kPictureFormats[i].first << frames << fps << loop << written[i];
}

// The frame as a format shows it: a GIF draws a pixel at least half covered
// and leaves the others out; the other formats keep alpha exactly.
QImage shownAs(AnimatedFormat format, const QImage &frame)
{
    QImage image = test::withAlpha(frame);
    if (format == AnimatedFormat::Gif && frame.hasAlphaChannel())
        for (int y = 0; y < image.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            std::transform(row, row + image.width(), row,
                           [](QRgb pixel) { return qAlpha(pixel) >= 128 ? pixel | 0xFF000000u : 0u; });
        }
    return image;
}

// Runs of equal pictures, each with how long it shows.
struct Runs {
    QList<QImage> pictures;
    QList<qint64> lengths;
};

Runs runsOf(const QList<QImage> &pictures, const QList<qint64> &lengths)
{
    Runs runs;
    for (qsizetype i = 0; i < pictures.size() && i < lengths.size(); ++i)
        if (!runs.pictures.isEmpty() && runs.pictures.last() == pictures[i]) {
            runs.lengths.last() += lengths[i];
        } else {
            runs.pictures.append(pictures[i]);
            runs.lengths.append(lengths[i]);
        }
    return runs;
}

} // namespace

class TestAnimationEncoder : public QObject
{
    Q_OBJECT

private slots:
    void frames_data()
    {
        QTest::addColumn<AnimatedFormat>("format");
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<int>("fps");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("written"); // pictures in the file

        addAnimation("12 fps, for ever", test::walkingFrames(6), 12, true, {6, 6, 6});
        addAnimation("7 fps, once", test::walkingFrames(6), 7, false, {6, 6, 6});
        addAnimation("50 fps, a frame unchanged", test::walkingFrames(4, 1, {2}), 50, true, {3, 3, 3});
        // A GIF refuses the rate: its delays are whole hundredths, and
        // browsers slow down those under two.
        addAnimation("60 fps, once, a frame unchanged", test::walkingFrames(4, 1, {2}), 60, false, {0, 3, 3});
        addAnimation("a still run at the start", test::walkingFrames(4, 1, {1, 2}), 8, true, {2, 2, 2});
        addAnimation("a still run at the end", test::walkingFrames(4, 1, {2, 3}), 8, true, {2, 2, 2});
        addAnimation("every frame the same, once", test::walkingFrames(3, 1, {1, 2}), 12, false, {1, 1, 1});
        const QList<QImage> walk = test::walkingFrames(2);
        addAnimation("back to the frame two before", {walk[0], walk[1], walk[0]}, 12, true, {3, 3, 3});
        addAnimation("greys the first frame lacks", {test::whiteFrame(walk[0].size()), walk[0], walk[1]}, 1, true,
                     {3, 0, 3});
        addAnimation("all 256 greys, zoom 8, a frame unchanged", test::walkingFrames(3, 8, {1}), 24, false, {2, 2, 0});
        addAnimation("red and blue figures, grey text",
                     {test::twoFigureFrame(0), test::twoFigureFrame(6), test::twoFigureFrame(6)}, 12, true, {2, 2, 2});
        const QImage full = test::manyColourFrame(48, 207);
        addAnimation("exactly 256 colours, then a colour the first frame lacks",
                     {full, test::withRectangle(full, QRect(0, 40, 9, 9), test::kRed)}, 12, true, {2, 0, 2});
        addAnimation(
            "red and blue figures, then 268 colours",
            {test::twoFigureFrame(0), test::twoFigureFrame(5), test::manyColourFrame(60, 207).scaled(493, 397)}, 12,
            true, {0, 0, 3});
        addAnimation("noise that fills the code table",
                     {test::noiseFrame(QSize(300, 200), 1), test::noiseFrame(QSize(300, 200), 2)}, 10, true, {2, 2, 2});
        addAnimation("two corners of noise change", test::noiseCornersTurningRed(), 10, true, {2, 2, 2});
        addAnimation("black dots turn white on white", test::dotsTurningWhite(), 10, true, {2, 2, 2});
        addAnimation("transparent, a pixel at alpha 100 and one at 200",
                     {test::clearFrame(2), test::clearFrame(2), test::clearFrame(3)}, 10, true, {2, 2, 2});
        addAnimation("transparent, drawn pixels left undrawn",
                     {test::clearFrame(2), test::clearFrame(20), test::clearFrame(10)}, 10, false, {3, 3, 3});
        QImage clear(300, 200, QImage::Format_ARGB32);
        clear.fill(0);
        QPainter(&clear).drawImage(120, 80, test::noiseFrame(QSize(60, 40), 3));
        addAnimation("every frame the same, noise on transparency", QList<QImage>(3, clear), 10, true, {1, 1, 1});

        // A picture shows for at most 65,535 hundredths in a GIF, 65,535
        // frame times in an APNG and 16,777.215 s in a WebP: a still run
        // longer than that is split.
        const QImage white = test::withRectangle(test::whiteFrame(QSize(8, 8)), QRect(5, 5, 1, 1), 0xFF000000);
        const QImage dot = test::withRectangle(white, QRect(2, 2, 1, 1), 0xFF000000);
        addAnimation("702 s of one picture", QList<QImage>(702, white) + QList<QImage>{dot}, 1, true, {3, 2, 2});
        addAnimation("65,537 frames of one picture at 50 fps", QList<QImage>(65537, white) + QList<QImage>{dot}, 50,
                     true, {4, 3, 2});
        const QImage clearDot = test::withRectangle(test::clearFrame(2), QRect(30, 2, 1, 1), test::kRed);
        addAnimation("16,778 s of one transparent picture",
                     QList<QImage>{clearDot} + QList<QImage>(16778, test::clearFrame(2)), 1, true, {27, 2, 3});
        addAnimation("every frame the same for 16,778 s", QList<QImage>(16778, clearDot), 1, false, {26, 1, 2});
    }

    // Read back by the format's own reader: a picture for each run of
    // equal frames, split where it shows longer than the format can say,
    // the plays, and at every moment the picture of the frame due then.
    void frames()
    {
        QFETCH(AnimatedFormat, format);
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QFETCH(int, written);
        if (format == AnimatedFormat::Apng && !test::requireTool("ffmpeg", "decodes APNG frames"))
            return;
        QByteArray bytes;
        const auto encoder =
            makeAnimationEncoder(format, {fps, loop, std::size_t(frames.size())}, {test::appendTo(bytes), {}, 0});
        const Status encoded = test::encodeAll(*encoder, frames);
        QVERIFY2(encoded.ok(), encoded.ok() ? "" : encoded.error().message.c_str());
        const test::ReadAnimation read = test::readAnimation(format, bytes);
        QCOMPARE(read.plays, loop ? 0 : 1);
        QCOMPARE(read.pictures.size(), written);
        QCOMPARE(read.lengths.size(), written);
        QList<QImage> due;
        for (qsizetype i = 0; i < frames.size(); ++i)
            due.append(i > 0 && frames[i].cacheKey() == frames[i - 1].cacheKey() ? due.last()
                                                                                 : shownAs(format, frames[i]));
        const Runs shown = runsOf(read.pictures, read.lengths);
        const Runs wanted = runsOf(due, test::frameLengths(frames.size(), fps, read.unitsPerSecond));
        QCOMPARE(shown.lengths, wanted.lengths);
        for (qsizetype i = 0; i < wanted.pictures.size(); ++i)
            QVERIFY2(shown.pictures[i] == wanted.pictures[i], qPrintable(QString("run %1").arg(i)));
    }

    void refusesWhenFinished_data()
    {
        QTest::addColumn<AnimatedFormat>("format");

        QTest::newRow("gif") << AnimatedFormat::Gif;
        QTest::newRow("apng") << AnimatedFormat::Apng;
        QTest::newRow("webp") << AnimatedFormat::Webp;
        QTest::newRow("mp4") << AnimatedFormat::Mp4;
        QTest::newRow("webm") << AnimatedFormat::Webm;
        QTest::newRow("sheet") << AnimatedFormat::Sheet;
    }

    // A finished encoder has let go of what it wrote with: a frame after the
    // end, or a second end, is refused and writes nothing more.
    void refusesWhenFinished()
    {
        QFETCH(AnimatedFormat, format);
        test::TemporaryFolder folder;
        // A stand-in for ffmpeg that takes the frames and writes a "video"
        // to the file its last argument names.
        const QString standIn = folder.path("ffmpeg");
        QFile script(standIn);
        QVERIFY(script.open(QIODevice::WriteOnly)
                && script.write("#!/bin/sh\ncat >/dev/null\nfor last; do :; done\necho v >\"${last#file:}\"\n") > 0);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        qputenv("ZELBROOK_FFMPEG", standIn.toUtf8());
        QByteArray bytes;
        const auto encoder =
            makeAnimationEncoder(format, {12, true, 2}, {test::appendTo(bytes), folder.path("out").toStdString(), 0});
        qunsetenv("ZELBROOK_FFMPEG");
        const QList<QImage> frames = test::walkingFrames(3);
        QVERIFY(test::encodeAll(*encoder, frames.mid(0, 2)).ok());
        const QByteArray written = bytes;
        const Status late = encoder->addFrame(frames[2]);
        const Status again = encoder->finish();
        QCOMPARE(late.ok() ? std::string() : late.error().message, std::string(AnimationEncoder::kFinished));
        QCOMPARE(again.ok() ? std::string() : again.error().message, std::string(AnimationEncoder::kFinished));
        QCOMPARE(bytes, written);
    }
};

QTEST_MAIN(TestAnimationEncoder)
#include "tst_animation_encoder.moc"
