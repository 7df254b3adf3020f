// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_row_writer.h"

#include <QTest>

using namespace zelbrook;
using Pixels = PngRowWriter::Pixels;

namespace {

// A pattern of the given colours, 600 x 370 pixels; without colours, noise
// in every channel, whose compressed rows need more than one IDAT chunk.
QImage striped(const QList<QRgb> &colours)
{
    QImage image(600, 370, QImage::Format_ARGB32);
    quint32 noise = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            image.setPixel(x, y, colours.isEmpty() ? noise : colours[(x * 7 + y * 13 + x * y) % colours.size()]);
        }
    return image;
}

} // namespace

class TestPngRowWriter : public QObject
{
    Q_OBJECT

private slots:
    void readsBack_data()
    {
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("rowsAtOnce");

        using L = QList<QRgb>;
        QTest::newRow("grey, a row at a time") << L{0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F} << int(Pixels::Grey) << 1;
        QTest::newRow("grey with alpha, 5 at once")
            << L{0, 0xFF000000, 0x80000000, 0x01000000, 0xC0606060} << int(Pixels::GreyAlpha) << 5;
        QTest::newRow("truecolour, all at once")
            << L{0xFFFFFFFF, 0xFFFF0000, 0xFF1020F0} << int(Pixels::Truecolour) << 370;
        QTest::newRow("truecolour with alpha, 10 at once")
            << L{0, 0x80FF0000, 0x201020F0} << int(Pixels::TruecolourAlpha) << 10;
        QTest::newRow("indexed with alpha, 7 at once")
            << L{0, 0x80FF0000, 0xFFFFFFFF, 0xFF2040C0} << int(Pixels::Indexed) << 7;
        QTest::newRow("noise with alpha, 64 at a time") << QList<QRgb>{} << int(Pixels::TruecolourAlpha) << 64;
    }

    // Qt's reader gives back every pixel, with its alpha, however the rows
    // were handed over; the colours are the palette of an indexed picture.
    void readsBack()
    {
        QFETCH(QList<QRgb>, colours);
        QFETCH(int, pixels);
        QFETCH(int, rowsAtOnce);
        const QImage image = striped(colours);
        QByteArray png;
        PngRowWriter writer(image.size(), Pixels(pixels),
                            [&png](std::string_view bytes) {
                                png.append(bytes.data(), qsizetype(bytes.size()));
                                return Status();
                            },
                            {colours.begin(), colours.end()});
        for (int y = 0; y < image.height(); y += rowsAtOnce)
            QVERIFY(writer.writeRows(image, y, std::min(image.height(), y + rowsAtOnce)).ok());
        QVERIFY(writer.finish().ok());
        QCOMPARE(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32), image);
    }
};

QTEST_MAIN(TestPngRowWriter)
#include "tst_png_row_writer.moc"
