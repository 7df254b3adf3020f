// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_reading.h"
#include "export/apng_encoder.h"

#include <QTest>

using namespace zelbrook;

namespace {

QList<QImage> withAlpha(const QList<QImage> &frames)
{
    QList<QImage> images;
    for (const QImage &frame : frames)
        images.append(test::withAlpha(frame));
    return images;
}

} // namespace

class TestApngEncoder : public QObject
{
    Q_OBJECT

private slots:
    void chunks_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<int>("fps");
        QTest::addColumn<int>("written"); // frames in the file

        QTest::newRow("12 fps, a frame unchanged") << test::walkingFrames(4, 1, {2}) << 12 << 3;
        QTest::newRow("transparent, 60 fps")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(20), test::clearFrame(10)} << 60 << 3;
        const QImage white = test::withRectangle(test::whiteFrame(QSize(8, 8)), QRect(5, 5, 1, 1), 0xFF000000);
        QTest::newRow("a still longer than the longest delay")
            << QList<QImage>(65537, white) + QList<QImage>{test::withRectangle(white, QRect(2, 2, 1, 1), 0xFF000000)}
            << 60 << 3;
    }

    // The frames announced first, each frame's time counted in frames at
    // the animation's rate, the frame chunks numbered in order, and the first
    // frame what a reader that knows no animation shows. The animation
    // encoder's test reads the frames back.
    void chunks()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(int, written);
        QByteArray bytes;
        ApngEncoder encoder({fps, true, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QList<quint32> numbers;
        for (const auto &[type, data] : test::pngChunks(bytes)) {
            if (type == "acTL")
                QCOMPARE(test::bigEndian(data, 0), quint32(written));
            if (type == "fcTL")
                QCOMPARE(qFromBigEndian<quint16>(data.constData() + 22), quint16(fps));
            if (type == "fcTL" || type == "fdAT")
                numbers.append(test::bigEndian(data, 0));
        }
        QCOMPARE(numbers.size(), 2 * written - 1);
        for (qsizetype i = 0; i < numbers.size(); ++i)
            QCOMPARE(numbers[i], quint32(i));
        QCOMPARE(test::withAlpha(QImage::fromData(bytes, "PNG")), test::withAlpha(frames.first()));
    }

    void ways_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<QList<int>>("ways"); // each frame's put away (0 left, 1 cleared, 2 put back) and blend

        QTest::newRow("two corners of noise change, drawn over")
            << test::noiseCornersTurningRed() << QList<int>{0, 0, 0, 1};
        QTest::newRow("black dots turn white on white") << test::dotsTurningWhite() << QList<int>{0, 0, 0, 0};
        const QList<QImage> two = test::walkingFrames(2);
        QTest::newRow("back to the frame two before, put back")
            << QList<QImage>{two[0], two[1], two[0]} << QList<int>{0, 0, 2, 0, 0, 0};
        QTest::newRow("a square moving on transparency, cleared")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(20), test::clearFrame(10)}
            << QList<int>{1, 0, 1, 0, 0, 0};
    }

    // Unchanged pixels are transparent, drawn over the frame before, where
    // that compresses smaller; after its time a frame's area is left as it
    // is, cleared or put back, whichever leaves the least change to the next
    // frame. The animation encoder's test reads the same animations back.
    void ways()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(QList<int>, ways);
        QByteArray bytes;
        ApngEncoder encoder({10, true, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QList<int> found;
        for (const auto &[type, data] : test::pngChunks(bytes))
            if (type == "fcTL")
                found << data[24] << data[25];
        QCOMPARE(found, ways);
    }

    void colours_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<QList<QRgb>>("exact"); // given to the encoder
        QTest::addColumn<int>("type");          // of the header: 0 grey, 2 truecolour, 3 palette; -1 refused

        const QList<QImage> walk = test::walkingFrames(2);
        const QList<QImage> redLater{walk[0], test::withRectangle(walk[1], QRect(200, 10, 30, 30), test::kRed)};
        QTest::newRow("red and blue figures, grey text")
            << QList<QImage>{test::twoFigureFrame(0), test::twoFigureFrame(5)} << QList<QRgb>{} << 3;
        QTest::newRow("red in a later frame, given") << redLater << QList<QRgb>{test::kRed} << 3;
        QTest::newRow("268 colours") << QList<QImage>{test::manyColourFrame(60, 207)} << QList<QRgb>{} << 2;
        QTest::newRow("red in a later frame, not given") << redLater << QList<QRgb>{} << -1;
    }

    // The header's type holds the first frame and the colours given, and
    // every frame reads back exactly; a colour neither holds is refused.
    void colours()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(QList<QRgb>, exact);
        QFETCH(int, type);
        QByteArray bytes;
        ApngEncoder encoder({12, true, size_t(frames.size())}, test::appendTo(bytes), {{exact.begin(), exact.end()}});
        const Status status = test::encodeAll(encoder, frames);
        QCOMPARE(status.ok() ? std::string() : status.error().message,
                 type < 0
                     ? "The frame has a colour that is neither in the first frame nor among the animation's colours."
                     : "");
        if (type < 0)
            return;
        QCOMPARE(int(bytes[25]), type);
        QCOMPARE(QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32), frames.first());
        if (!test::requireTool("ffmpeg", "decodes the frames"))
            return;
        QCOMPARE(test::readApng(bytes).pictures, withAlpha(frames));
    }
};

QTEST_MAIN(TestApngEncoder)
#include "tst_apng_encoder.moc"
