// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/gif_encoder.h"

#include <QTest>

#include <gif_lib.h>

#include <cstring>

using namespace zelbrook;

namespace {

// What giflib's reader makes of a GIF: every frame drawn over the one before
// on a transparent screen, as a viewer shows it.
struct DecodedGif {
    QList<QImage> frames;
    QList<qint64> delays;
    QList<bool> transparency; // whether an image uses its transparent index
    bool loops = false;
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
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_ARGB32);
    canvas.fill(0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage &image = gif->SavedImages[i];
        const GifImageDesc &desc = image.ImageDesc;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        bool transparency = false;
        for (int y = 0; y < desc.Height; ++y)
            for (int x = 0; x < desc.Width; ++x)
                if (const int index = image.RasterBits[y * desc.Width + x]; index != control.TransparentColor)
                    canvas.setPixel(desc.Left + x, desc.Top + y,
                                    qRgb(map->Colors[index].Red, map->Colors[index].Green, map->Colors[index].Blue));
                else
                    transparency = true;
        decoded.frames.append(canvas.copy());
        decoded.delays.append(control.DelayTime);
        decoded.transparency.append(transparency);
        if (control.DisposalMode == DISPOSE_BACKGROUND)
            for (int y = 0; y < desc.Height; ++y)
                for (int x = 0; x < desc.Width; ++x)
                    canvas.setPixel(desc.Left + x, desc.Top + y, 0);
    }
    decoded.loops = gif->ImageCount > 0 && isLoopBlock(gif->SavedImages[0]);
    DGifCloseFile(gif, &error);
    return decoded;
}

// A pixel is drawn when at least half covered.
QImage drawn(const QImage &frame)
{
    QImage image = frame.convertToFormat(QImage::Format_ARGB32);
    if (!frame.hasAlphaChannel())
        return image;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qAlpha(image.pixel(x, y)) >= 128 ? image.pixel(x, y) | 0xFF000000u : 0u);
    return image;
}

QByteArray encoded(const QList<QImage> &frames, int fps, bool loop)
{
    QByteArray bytes;
    GifEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
    return test::encodeAll(encoder, frames).ok() ? bytes : QByteArray();
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
        QTest::addColumn<QList<qint64>>("delays");

        QTest::newRow("12 fps, for ever") << test::walkingFrames(6) << 12 << true << QList<qint64>{8, 9, 8, 8, 9, 8};
        QTest::newRow("7 fps, once") << test::walkingFrames(6) << 7 << false << QList<qint64>{14, 15, 14, 14, 14, 15};
        QTest::newRow("50 fps, a frame unchanged")
            << test::walkingFrames(4, 1, {2}) << 50 << true << QList<qint64>{2, 4, 2};
        QTest::newRow("a still run at the start")
            << test::walkingFrames(4, 1, {1, 2}) << 8 << true << QList<qint64>{38, 12};
        QTest::newRow("a still run at the end")
            << test::walkingFrames(4, 1, {2, 3}) << 8 << true << QList<qint64>{13, 37};
        QTest::newRow("every frame the same, once")
            << test::walkingFrames(3, 1, {1, 2}) << 12 << false << QList<qint64>{25};
        const QImage white = test::whiteFrame(QSize(8, 8));
        QTest::newRow("a still longer than the longest delay")
            << QList<QImage>(702, white) + QList<QImage>{test::withRectangle(white, QRect(2, 2, 1, 1), test::kRed)} << 1
            << true << QList<qint64>{35100, 35100, 100};
        const QList<QImage> walking = test::walkingFrames(2);
        QTest::newRow("greys the first frame lacks")
            << QList<QImage>{test::whiteFrame(walking[0].size()), walking[0], walking[1]} << 1 << true
            << QList<qint64>{100, 100, 100};
        QTest::newRow("all 256 greys, zoom 8, a frame unchanged")
            << test::walkingFrames(3, 8, {1}) << 24 << false << QList<qint64>{8, 5};
        QTest::newRow("red and blue figures, grey text")
            << QList<QImage>{test::twoFigureFrame(0), test::twoFigureFrame(6), test::twoFigureFrame(6)} << 12 << true
            << QList<qint64>{8, 17};
        const QImage full = test::manyColourFrame(48, 207);
        QTest::newRow("exactly 256 colours, then a colour the first frame lacks")
            << QList<QImage>{full, test::withRectangle(full, QRect(0, 40, 9, 9), test::kRed)} << 12 << true
            << QList<qint64>{8, 9};
        QTest::newRow("noise that fills the code table")
            << QList<QImage>{test::noiseFrame(QSize(300, 200), 1), test::noiseFrame(QSize(300, 200), 2)} << 10 << true
            << QList<qint64>{10, 10};
        QTest::newRow("transparent, a pixel at alpha 100 and one at 200")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(2), test::clearFrame(3)} << 10 << true
            << QList<qint64>{20, 10};
        QTest::newRow("transparent, drawn pixels left undrawn")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(20), test::clearFrame(10)} << 10 << false
            << QList<qint64>{10, 10, 10};
    }

    // Read back by giflib's own reader: an image for each run of equal
    // frames with the run's delay, the loop block only for a looping
    // animation, and at every hundredth of a second the picture of the frame
    // due then, pixels drawn where at least half covered.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QFETCH(QList<qint64>, delays);
        const DecodedGif gif = decodeGif(encoded(frames, fps, loop));
        QCOMPARE(gif.delays, delays);
        QCOMPARE(gif.loops, loop);
        QList<QImage> expected;
        for (const QImage &frame : frames)
            expected.append(drawn(frame));
        const QList<QImage> shown = test::everyUnit(gif.frames, gif.delays);
        const QList<QImage> due = test::everyUnit(expected, test::frameLengths(frames.size(), fps, 100));
        QCOMPARE(shown.size(), due.size());
        for (qsizetype t = 0; t < due.size(); ++t)
            if (t == 0 || shown[t].cacheKey() != shown[t - 1].cacheKey() || due[t].cacheKey() != due[t - 1].cacheKey())
                QVERIFY2(shown[t] == due[t], qPrintable(QString("at %1 hundredths").arg(t)));
    }

    void unchangedPixels_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<bool>("transparency");

        const QImage noise = test::noiseFrame(QSize(120, 80), 7);
        QTest::newRow("two corners of noise change")
            << QList<QImage>{noise, test::withRectangle(test::withRectangle(noise, QRect(0, 0, 1, 1), 0xFF00FF00),
                                                        QRect(119, 79, 1, 1), 0xFF00FF00)}
            << true;
        QImage dots = test::whiteFrame(QSize(120, 80));
        for (int i = 0; i < 40; ++i)
            dots.setPixel(3 * i, 2 * i, 0xFF000000);
        QTest::newRow("black dots turn white on white")
            << QList<QImage>{dots, test::whiteFrame(QSize(120, 80))} << false;
    }

    // Unchanged pixels are transparent where that codes shorter, and in
    // their own colour where a run of one colour goes on through them.
    void unchangedPixels()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(bool, transparency);
        const DecodedGif gif = decodeGif(encoded(frames, 10, true));
        QCOMPARE(gif.transparency.value(1), transparency);
        QCOMPARE(gif.frames.value(1).convertToFormat(QImage::Format_RGB32), frames[1]);
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
        const QImage decoded = decodeGif(bytes).frames.value(0, frame).convertToFormat(QImage::Format_RGB32);
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
