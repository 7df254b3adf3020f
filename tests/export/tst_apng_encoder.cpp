#include "animation_frames.h"
#include "export/apng_encoder.h"

#include <QTest>
#include <QtEndian>

#include <zlib.h>

using namespace zelbrook;

namespace {

quint32 number(const QByteArray &data, int at) { return qFromBigEndian<quint32>(data.constData() + at); }
int shortNumber(const QByteArray &data, int at) { return qFromBigEndian<quint16>(data.constData() + at); }

QByteArray bigEndian(quint32 value)
{
    QByteArray out(4, 0);
    qToBigEndian(value, out.data());
    return out;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray checked = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef *>(checked.constData()), uInt(checked.size()));
    return bigEndian(quint32(data.size())) + checked + bigEndian(quint32(crc));
}

// An animated PNG taken apart chunk by chunk: each frame's pixels made into a
// PNG of their own, read by Qt and drawn over the frame before.
struct DecodedApng {
    int frameCount = -1;
    int plays = -1;
    QList<QImage> frames;
    QList<QPair<int, int>> delays;
    bool numbered = true;
    bool sourceOverNone = true;
};

DecodedApng decodeApng(const QByteArray &png)
{
    DecodedApng decoded;
    QImage canvas;
    QByteArray header;
    QRect area;
    quint32 sequence = 0;
    for (int at = 8; at + 12 <= png.size();) {
        const int length = int(number(png, at));
        const QByteArray type = png.mid(at + 4, 4);
        QByteArray data = png.mid(at + 8, length);
        at += length + 12;
        if (type == "IHDR") {
            header = data;
            canvas = QImage(int(number(data, 0)), int(number(data, 4)), QImage::Format_RGB32);
        } else if (type == "acTL") {
            decoded.frameCount = int(number(data, 0));
            decoded.plays = int(number(data, 4));
        } else if (type == "fcTL") {
            decoded.numbered = decoded.numbered && number(data, 0) == sequence++;
            area = QRect(int(number(data, 12)), int(number(data, 16)), int(number(data, 4)), int(number(data, 8)));
            decoded.delays.append({shortNumber(data, 20), shortNumber(data, 22)});
            decoded.sourceOverNone = decoded.sourceOverNone && data[24] == 0 && data[25] == 0;
        } else if (type == "IDAT" || type == "fdAT") {
            if (type == "fdAT") {
                decoded.numbered = decoded.numbered && number(data, 0) == sequence++;
                data.remove(0, 4);
            }
            header.replace(0, 8, bigEndian(quint32(area.width())) + bigEndian(quint32(area.height())));
            const QByteArray single = png.left(8) + chunk("IHDR", header) + chunk("IDAT", data) + chunk("IEND", {});
            const QImage part = QImage::fromData(single, "PNG").convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    canvas.setPixel(area.x() + x, area.y() + y, part.pixel(x, y));
            decoded.frames.append(canvas.copy());
        }
    }
    return decoded;
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

    // Every frame shown for 1/fps seconds with its own pixels, the frames and
    // plays announced at the start, and the chunks numbered in order.
    void frames()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, fps);
        QFETCH(bool, loop);
        QByteArray bytes;
        ApngEncoder encoder({fps, loop, size_t(frames.size())}, test::appendTo(bytes));
        QVERIFY(test::encodeAll(encoder, frames).ok());
        const DecodedApng apng = decodeApng(bytes);
        QCOMPARE(apng.frameCount, frames.size());
        QCOMPARE(apng.plays, loop ? 0 : 1);
        QCOMPARE(apng.delays, (QList<QPair<int, int>>(frames.size(), {1, fps})));
        QVERIFY(apng.numbered);
        QVERIFY(apng.sourceOverNone);
        QCOMPARE(apng.frames, frames);
        QCOMPARE(QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32), frames.first());
    }

    // The frame count is written first, so any other number is refused.
    void wrongFrameCount()
    {
        QByteArray bytes;
        ApngEncoder fewer({12, true, 3}, test::appendTo(bytes));
        QVERIFY(!test::encodeAll(fewer, test::walkingFrames(2)).ok());
        ApngEncoder more({12, true, 1}, test::appendTo(bytes));
        QVERIFY(!test::encodeAll(more, test::walkingFrames(2)).ok());
    }
};

QTEST_MAIN(TestApngEncoder)
#include "tst_apng_encoder.moc"
