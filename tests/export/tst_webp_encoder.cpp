// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/webp_encoder.h"

#include <QPainter>
#include <QTest>

#include <webp/demux.h>

using namespace zelbrook;

namespace {

// libwebp's own decoder's frames, each with the time at which it ends.
struct DecodedWebp {
    QList<QImage> frames;
    QList<int> ends;
    int loopCount = -1;
};

DecodedWebp decodeWebp(const QByteArray &bytes)
{
    DecodedWebp decoded;
    const WebPData data{reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder *decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info))
        return decoded;
    decoded.loopCount = int(info.loop_count);
    uint8_t *pixels = nullptr;
    int end = 0;
    while (WebPAnimDecoderGetNext(decoder, &pixels, &end)) {
        const QImage frame(pixels, int(info.canvas_width), int(info.canvas_height), QImage::Format_RGBA8888);
        decoded.frames.append(test::withAlpha(frame));
        decoded.ends.append(end);
    }
    WebPAnimDecoderDelete(decoder);
    return decoded;
}

} // namespace

class TestWebpEncoder : public QObject
{
    Q_OBJECT

private slots:
    void frames_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<int>("fps");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QList<int>>("starts"); // of the frames given, in ms, and the end of the last
        QTest::addColumn<int>("written");       // frames in the file

        QTest::newRow("12 fps, for ever")
            << test::walkingFrames(4) << 12 << true << QList<int>{0, 83, 167, 250, 333} << 4;
        QTest::newRow("7 fps, once, a frame unchanged")
            << test::walkingFrames(3, 1, {1}) << 7 << false << QList<int>{0, 143, 286, 429} << 2;
        QTest::newRow("a still run at the start")
            << test::walkingFrames(3, 1, {1}) << 10 << true << QList<int>{0, 100, 200, 300} << 2;
        QTest::newRow("a still run at the end")
            << test::walkingFrames(4, 1, {2, 3}) << 10 << true << QList<int>{0, 100, 200, 300, 400} << 2;
        QTest::newRow("every frame the same, once")
            << test::walkingFrames(3, 1, {1, 2}) << 10 << false << QList<int>{0, 100, 200, 300} << 1;
        QTest::newRow("red and blue figures, then 268 colours")
            << QList<QImage>{test::twoFigureFrame(0), test::twoFigureFrame(5),
                             test::manyColourFrame(60, 207).scaled(493, 397)}
            << 12 << true << QList<int>{0, 83, 167, 250} << 3;
        QTest::newRow("transparent, pixels at alpha 100 and 200")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(2), test::clearFrame(20)} << 10 << true
            << QList<int>{0, 100, 200, 300} << 2;
        // 16,778 s is more than one frame's 16,777.215 s.
        QList<int> seconds;
        for (int i = 0; i <= 16779; ++i)
            seconds.append(1000 * i);
        const QImage dot = test::withRectangle(test::clearFrame(2), QRect(30, 2, 1, 1), test::kRed);
        QTest::newRow("a still longer than a frame holds")
            << QList<QImage>{dot} + QList<QImage>(16778, test::clearFrame(2)) << 1 << true << seconds << 3;
        QImage clear(300, 200, QImage::Format_ARGB32);
        clear.fill(0);
        QPainter(&clear).drawImage(120, 80, test::noiseFrame(QSize(60, 40), 3));
        QTest::newRow("every frame the same, noise on transparency")
            << QList<QImage>(3, clear) << 10 << true << QList<int>{0, 100, 200, 300} << 1;
        QTest::newRow("every frame the same, longer than a frame holds")
            << QList<QImage>(16778, dot) << 1 << false << seconds.mid(0, 16779) << 2;
    }

    // Each frame given is what the decoder shows from its start to its
    // end, alpha exactly, and the animation ends where the last frame does;
    // a frame equal to the one before is not written.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QFETCH(QList<int>, starts);
        QFETCH(int, written);
        QByteArray bytes;
        WebpEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        const DecodedWebp webp = decodeWebp(bytes);
        QCOMPARE(webp.loopCount, loop ? 0 : 1);
        QCOMPARE(webp.ends.last(), starts.last());
        QCOMPARE(webp.frames.size(), written);
        const auto shownAt = [&webp](int time) {
            qsizetype shown = 0;
            while (shown + 1 < webp.ends.size() && webp.ends[shown] <= time)
                ++shown;
            return webp.frames[shown];
        };
        for (qsizetype i = 0; i < frames.size(); ++i) {
            QVERIFY2(shownAt(starts[i]) == test::withAlpha(frames[i]), qPrintable(QString("frame %1").arg(i)));
            QVERIFY2(shownAt(starts[i + 1] - 1) == test::withAlpha(frames[i]), qPrintable(QString("end of %1").arg(i)));
        }
    }
};

QTEST_MAIN(TestWebpEncoder)
#include "tst_webp_encoder.moc"
