// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/gif_encoder.h"

#include <QTest>

#include <gif_lib.h>

#include <cstring>

using namespace zelbrook;

namespace {

// What giflib's reader makes of a GIF: every frame drawn over the one before,
// as a viewer shows it.
struct DecodedGif {
    QList<QImage> frames;
    QList<int> delays;
    QList<QSize> sizes;
    bool loops = false;
    bool leftInPlace = true;
};

bool isLoopBlock(const SavedImage &image)
{
    for (int i = 0; i + 1 < image.ExtensionBlockCount; ++i) {
        const ExtensionBlock &block = image.ExtensionBlocks[i];
        if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11
            && std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0)
            return true;
    }
    return false;
}

DecodedGif decodeGif(const QByteArray &bytes)
{
    test::TemporaryFolder folder;
    QFile file(folder.path("walk.gif"));
    DecodedGif decoded;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return decoded;
    int error = 0;
    GifFileType *gif = DGifOpenFileName(qPrintable(file.fileName()), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK)
        return decoded;
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage &image = gif->SavedImages[i];
        const GifImageDesc &desc = image.ImageDesc;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        for (int y = 0; y < desc.Height; ++y)
            for (int x = 0; x < desc.Width; ++x)
                if (const int index = image.RasterBits[y * desc.Width + x]; index != control.TransparentColor)
                    canvas.setPixel(desc.Left + x, desc.Top + y,
                                    qRgb(map->Colors[index].Red, map->Colors[index].Green, map->Colors[index].Blue));
        decoded.frames.append(canvas.copy());
        decoded.delays.append(control.DelayTime);
        decoded.sizes.append(QSize(desc.Width, desc.Height));
        decoded.leftInPlace = decoded.leftInPlace && control.DisposalMode == DISPOSE_DO_NOT;
    }
    decoded.loops = gif->ImageCount > 0 && isLoopBlock(gif->SavedImages[0]);
    DGifCloseFile(gif, &error);
    return decoded;
}

} // namespace

class TestGifEncoder : public QObject
{
    Q_OBJECT

private slots:
    void frames_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<int>("fps");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QList<int>>("delays");

        QTest::newRow("12 fps, for ever") << test::walkingFrames(6) << 12 << true << QList<int>{8, 9, 8, 8, 9, 8};
        QTest::newRow("7 fps, once") << test::walkingFrames(6) << 7 << false << QList<int>{14, 15, 14, 14, 14, 15};
        QTest::newRow("50 fps, a frame unchanged")
            << test::walkingFrames(4, 1, {2}) << 50 << true << QList<int>{2, 2, 2, 2};
        const QList<QImage> walking = test::walkingFrames(2);
        QTest::newRow("greys the first frame lacks")
            << QList<QImage>{test::whiteFrame(walking[0].size()), walking[0], walking[1]} << 1 << true
            << QList<int>{100, 100, 100};
        QTest::newRow("all 256 greys, zoom 8, a frame unchanged")
            << test::walkingFrames(3, 8, {1}) << 24 << false << QList<int>{4, 4, 5};
        QTest::newRow("red and blue figures, grey text")
            << QList<QImage>{test::twoFigureFrame(0), test::twoFigureFrame(6), test::twoFigureFrame(6)} << 12 << true
            << QList<int>{8, 9, 8};
        const QImage full = test::manyColourFrame(48, 207);
        QTest::newRow("exactly 256 colours, then a colour the first frame lacks")
            << QList<QImage>{full, test::withRectangle(full, QRect(0, 40, 9, 9), test::kRed)} << 12 << true
            << QList<int>{8, 9};
    }

    // Read back by giflib's own reader: one image per frame with its delay,
    // the loop block only for a looping animation, and every frame's pixels
    // exactly; an unchanged frame is a single pixel.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QFETCH(QList<int>, delays);
        QByteArray bytes;
        GifEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        const DecodedGif gif = decodeGif(bytes);
        QCOMPARE(gif.delays, delays);
        QCOMPARE(gif.loops, loop);
        QVERIFY(gif.leftInPlace);
        for (qsizetype i = 0; i < frames.size(); ++i) {
            QVERIFY2(gif.frames[i] == frames[i], qPrintable(QString("frame %1").arg(i)));
            QCOMPARE(gif.sizes[i] == QSize(1, 1), i > 0 && frames[i] == frames[i - 1]);
        }
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
        const QImage decoded = decodeGif(bytes).frames.value(0, frame);
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
