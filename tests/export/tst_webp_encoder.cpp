// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/webp_encoder.h"

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
        decoded.frames.append(frame.convertToFormat(QImage::Format_RGB32));
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

        QTest::newRow("12 fps, for ever") << test::walkingFrames(4) << 12 << true << QList<int>{0, 83, 167, 250, 333};
        QTest::newRow("7 fps, once, a frame unchanged")
            << test::walkingFrames(3, 1, {1}) << 7 << false << QList<int>{0, 143, 286, 429};
        QTest::newRow("red and blue figures, then 268 colours")
            << QList<QImage>{test::twoFigureFrame(0), test::twoFigureFrame(5),
                             test::manyColourFrame(60, 207).scaled(493, 397)}
            << 12 << true << QList<int>{0, 83, 167, 250};
    }

    // Each frame given is what the decoder shows from its start, and the
    // animation ends where the last frame does; equal frames may be merged.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QFETCH(QList<int>, starts);
        QByteArray bytes;
        WebpEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        const DecodedWebp webp = decodeWebp(bytes);
        QCOMPARE(webp.loopCount, loop ? 0 : 1);
        QCOMPARE(webp.ends.last(), starts.last());
        for (qsizetype i = 0; i < frames.size(); ++i) {
            qsizetype shown = 0;
            while (webp.ends[shown] <= starts[i])
                ++shown;
            QVERIFY2(webp.frames[shown] == frames[i], qPrintable(QString("frame %1").arg(i)));
            QVERIFY(starts.contains(webp.ends[shown]));
        }
    }
};

QTEST_MAIN(TestWebpEncoder)
#include "tst_webp_encoder.moc"
