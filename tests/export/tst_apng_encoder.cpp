// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/apng_encoder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

using namespace zelbrook;

namespace {

quint32 number(const QByteArray &data, int at) { return qFromBigEndian<quint32>(data.constData() + at); }

// The chunks' types and contents, in order.
QList<QPair<QByteArray, QByteArray>> chunksOf(const QByteArray &png)
{
    QList<QPair<QByteArray, QByteArray>> chunks;
    for (int at = 8; at + 12 <= png.size(); at += int(number(png, at)) + 12)
        chunks.append({png.mid(at + 4, 4), png.mid(at + 8, int(number(png, at)))});
    return chunks;
}

// The frames as ffmpeg's own APNG decoder shows them, one picture each
// rather than as many as its time base would repeat them, with alpha.
QList<QImage> framesByFfmpeg(const QByteArray &apng)
{
    test::TemporaryFolder folder;
    QFile file(folder.path("walk.apng"));
    if (!file.open(QIODevice::WriteOnly) || file.write(apng) != apng.size())
        return {};
    file.close();
    QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-i", file.fileName(), "-fps_mode", "passthrough",
                                 "-pix_fmt", "rgba", folder.path("%d.png")});
    QList<QImage> frames;
    for (int i = 1; QFile::exists(folder.path(QString("%1.png").arg(i))); ++i)
        frames.append(QImage(folder.path(QString("%1.png").arg(i))).convertToFormat(QImage::Format_ARGB32));
    return frames;
}

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
    void frames_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<int>("fps");
        QTest::addColumn<bool>("loop");

        QTest::addColumn<QList<qint64>>("lengths"); // of each frame written, in frames

        QTest::newRow("12 fps, for ever") << test::walkingFrames(5) << 12 << true << QList<qint64>{1, 1, 1, 1, 1};
        QTest::newRow("60 fps, once, a frame unchanged")
            << test::walkingFrames(4, 1, {2}) << 60 << false << QList<qint64>{1, 2, 1};
        QTest::newRow("zoom 8") << test::walkingFrames(2, 8) << 1 << true << QList<qint64>{1, 1};
        QTest::newRow("a still run at the start")
            << test::walkingFrames(4, 1, {1, 2}) << 8 << true << QList<qint64>{3, 1};
        QTest::newRow("a still run at the end")
            << test::walkingFrames(4, 1, {2, 3}) << 8 << true << QList<qint64>{1, 3};
        QTest::newRow("every frame the same, once")
            << test::walkingFrames(3, 1, {1, 2}) << 12 << false << QList<qint64>{3};
        const QList<QImage> two = test::walkingFrames(2);
        QTest::newRow("back to the frame two before")
            << QList<QImage>{two[0], two[1], two[0]} << 12 << true << QList<qint64>{1, 1, 1};
        const QImage white = test::withRectangle(test::whiteFrame(QSize(8, 8)), QRect(5, 5, 1, 1), 0xFF000000);
        QTest::newRow("a still longer than the longest delay")
            << QList<QImage>(65537, white) + QList<QImage>{test::withRectangle(white, QRect(2, 2, 1, 1), 0xFF000000)}
            << 60 << true << QList<qint64>{32769, 32768, 1};
        QTest::newRow("transparent, a pixel at alpha 100 and one at 200")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(2), test::clearFrame(3)} << 10 << true
            << QList<qint64>{2, 1};
        QTest::newRow("transparent, drawn pixels left undrawn")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(20), test::clearFrame(10)} << 10 << false
            << QList<qint64>{1, 1, 1};
    }

    // The frames and plays announced first, each frame written once for a
    // run of equal frames with the run's time, the frame chunks numbered in
    // order, and in every 1/fps seconds the pixels of the frame due then,
    // alpha exactly.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QFETCH(QList<qint64>, lengths);
        QByteArray bytes;
        ApngEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QList<quint32> numbers;
        QList<qint64> written;
        for (const auto &[type, data] : chunksOf(bytes)) {
            if (type == "acTL") // frames, plays
                QCOMPARE(QPair(number(data, 0), number(data, 4)), QPair(quint32(lengths.size()), loop ? 0u : 1u));
            if (type == "fcTL") { // delay of its frames at fps
                written.append(qFromBigEndian<quint16>(data.constData() + 20));
                QCOMPARE(qFromBigEndian<quint16>(data.constData() + 22), quint16(fps));
            }
            if (type == "fcTL" || type == "fdAT")
                numbers.append(number(data, 0));
        }
        QCOMPARE(written, lengths);
        QCOMPARE(numbers.size(), 2 * lengths.size() - 1);
        for (qsizetype i = 0; i < numbers.size(); ++i)
            QCOMPARE(numbers[i], quint32(i));
        QCOMPARE(test::withAlpha(QImage::fromData(bytes, "PNG")), test::withAlpha(frames.first()));
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            QSKIP("ffmpeg, which decodes the frames, is not installed");
        const QList<QImage> shown = test::everyUnit(framesByFfmpeg(bytes), lengths);
        const QList<QImage> due = withAlpha(frames);
        QCOMPARE(shown.size(), due.size());
        for (qsizetype i = 0; i < due.size(); ++i)
            if (i == 0 || shown[i].cacheKey() != shown[i - 1].cacheKey() || due[i].cacheKey() != due[i - 1].cacheKey())
                QVERIFY2(shown[i] == due[i], qPrintable(QString("frame %1").arg(i)));
    }

    void ways_data()
    {
        QTest::addColumn<QList<QImage>>("frames");
        QTest::addColumn<QList<int>>("ways"); // each frame's put away (0 left, 1 cleared, 2 put back) and blend

        const QRect corners[2] = {QRect(0, 0, 1, 1), QRect(119, 79, 1, 1)};
        const QImage noise = test::withRectangle(
            test::withRectangle(test::noiseFrame(QSize(120, 80), 7), corners[0], 0xFFFFFFFF), corners[1], 0xFFFFFFFF);
        QTest::newRow("two corners of noise change, drawn over")
            << QList<QImage>{noise, test::withRectangle(test::withRectangle(noise, corners[0], test::kRed), corners[1],
                                                        test::kRed)}
            << QList<int>{0, 0, 0, 1};
        QImage dots = test::whiteFrame(QSize(120, 80));
        for (int i = 0; i < 40; ++i)
            dots.setPixel(3 * i, 2 * i, 0xFF000000);
        QTest::newRow("black dots turn white on white")
            << QList<QImage>{dots, test::whiteFrame(QSize(120, 80))} << QList<int>{0, 0, 0, 0};
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
    // frame. The frames test reads the same animations back.
    void ways()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(QList<int>, ways);
        QByteArray bytes;
        ApngEncoder encoder({10, true, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QList<int> found;
        for (const auto &[type, data] : chunksOf(bytes))
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
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            QSKIP("ffmpeg, which decodes the frames, is not installed");
        QCOMPARE(framesByFfmpeg(bytes), withAlpha(frames));
    }
};

QTEST_MAIN(TestApngEncoder)
#include "tst_apng_encoder.moc"
