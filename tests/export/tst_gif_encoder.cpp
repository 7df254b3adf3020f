// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_reading.h"
#include "export/gif_encoder.h"

#include <QTest>

using namespace zelbrook;

class TestGifEncoder : public QObject
{
    Q_OBJECT

private slots:
    void unchangedPixels_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<bool>("transparency");

        QTest::newRow("two corners of noise change") << test::noiseCornersTurningRed() << true;
        QTest::newRow("black dots turn white on white") << test::dotsTurningWhite() << false;
    }

    // Unchanged pixels are transparent where that codes shorter, and in
    // their own colour where a run of one colour goes on through them. The
    // animation encoder's test reads the same animations back.
    void unchangedPixels()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(bool, transparency);
        QByteArray bytes;
        GifEncoder encoder({10, true, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QCOMPARE(test::readGif(bytes).transparency.value(1), transparency);
    }

    void reducedColours_data()
    {
        QTest::addColumn<QImage>("frame");
        QTest::addColumn<QList<QRgb>>("exact"); // given to the encoder
        QTest::addColumn<QString>("refusal");

        QList<QRgb> figures{qRgb(0, 0, 0), qRgb(255, 255, 255)};
        for (int i = 0; i < 60; ++i)
            figures.append(test::otherColour(i));
        QTest::newRow("268 colours, none given") << test::manyColourFrame(60, 207) << QList<QRgb>{} << QString();
        QTest::newRow("268 colours, the figures' given") << test::manyColourFrame(60, 207) << figures << QString();
        QTest::newRow("300 colours that are not grey")
            << test::manyColourFrame(300, 2) << QList<QRgb>{}
            << "The frame has more colours than a GIF can hold: over 256 even with the colours that need not be exact "
               "within 16 levels of their own.";
    }

    // Past 256 colours, the figures' colours, black and white stay exact and
    // the greys stay greys within 16 levels of their own.
    void reducedColours()
    {
        QFETCH(QImage, frame);
        QFETCH(QList<QRgb>, exact);
        QFETCH(QString, refusal);
        QByteArray bytes;
        GifEncoder encoder({12, true, 1}, test::appendTo(bytes), {{exact.begin(), exact.end()}});
        const Status status = test::encodeAll(encoder, {frame});
        QCOMPARE(status.ok() ? QString() : QString::fromStdString(status.error().message), refusal);
        const QImage decoded =
            test::readGif(bytes).animation.pictures.value(0, frame).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const QRgb was = frame.pixel(x, y);
                const QRgb is = decoded.pixel(x, y);
                QVERIFY(isGrey(was) && qGray(was) % 255 ? isGrey(is) && qAbs(qGray(is) - qGray(was)) <= 16 : is == was);
            }
    }

    // Delays are whole hundredths, and browsers slow down those under two.
    void rate()
    {
        const QImage frame = test::walkingFrames(1)[0];
        QVERIFY(GifEncoder({50, true, 1}, [](std::string_view) { return Status{}; }).addFrame(frame).ok());
        QVERIFY(!GifEncoder({51, true, 1}, [](std::string_view) { return Status{}; }).addFrame(frame).ok());
        const Status refused = GifEncoder::checkRate(51);
        QVERIFY(!refused.ok() && refused.error().message.find("apng, webp, mp4 and webm") != std::string::npos);
    }

    // A failed write stops the encoding and is the error reported.
    void failedWrite()
    {
        GifEncoder encoder({}, [](std::string_view) { return Status{Error{"disk full"}}; });
        QCOMPARE(test::encodeAll(encoder, test::walkingFrames(2)).error().message, std::string("disk full"));
    }
};

QTEST_MAIN(TestGifEncoder)
#include "tst_gif_encoder.moc"
