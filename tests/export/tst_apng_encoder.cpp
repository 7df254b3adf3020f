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
// rather than as many as its time base would repeat them.
QList<QImage> framesByFfmpeg(const QByteArray &apng)
{
    test::TemporaryFolder folder;
    QFile file(folder.path("walk.apng"));
    if (!file.open(QIODevice::WriteOnly) || file.write(apng) != apng.size())
        return {};
    file.close();
    QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-i", file.fileName(), "-fps_mode", "passthrough",
                                 "-pix_fmt", "rgb24", folder.path("%d.png")});
    QList<QImage> frames;
    for (int i = 1; QFile::exists(folder.path(QString("%1.png").arg(i))); ++i)
        frames.append(QImage(folder.path(QString("%1.png").arg(i))).convertToFormat(QImage::Format_RGB32));
    return frames;
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

        QTest::newRow("12 fps, for ever") << test::walkingFrames(5) << 12 << true;
        QTest::newRow("60 fps, once, a frame unchanged") << test::walkingFrames(4, 1, {2}) << 60 << false;
        QTest::newRow("zoom 8") << test::walkingFrames(2, 8) << 1 << true;
    }

    // The frames and plays announced first, every frame shown for 1/fps
    // seconds, the frame chunks numbered in order, and the pixels as given.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QByteArray bytes;
        ApngEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QList<quint32> numbers;
        for (const auto &[type, data] : chunksOf(bytes)) {
            if (type == "acTL") // frames, plays
                QCOMPARE(QPair(number(data, 0), number(data, 4)), QPair(quint32(frames.size()), loop ? 0u : 1u));
            if (type == "fcTL") // delay 1/fps, dispose none, blend source
                QCOMPARE(data.mid(20), QByteArray::fromRawData("\0\1\0", 3) + char(fps) + QByteArray(2, 0));
            if (type == "fcTL" || type == "fdAT")
                numbers.append(number(data, 0));
        }
        QCOMPARE(numbers.size(), 2 * frames.size() - 1);
        for (qsizetype i = 0; i < numbers.size(); ++i)
            QCOMPARE(numbers[i], quint32(i));
        QCOMPARE(QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32), frames.first());
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            QSKIP("ffmpeg, which decodes the frames, is not installed");
        QCOMPARE(framesByFfmpeg(bytes), frames);
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
        QCOMPARE(framesByFfmpeg(bytes), frames);
    }
};

QTEST_MAIN(TestApngEncoder)
#include "tst_apng_encoder.moc"
