// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/png_rows.h"
#include "platform/png_chunks.h"

#include <QTest>

#include <zlib.h>

using namespace zelbrook;

// Each byte after the first row and column worked out from its left, upper
// and upper left neighbours and some noise; the first row and column noise.
using Rule = int (*)(int a, int b, int c, int noise);

class TestPngRows : public QObject
{
    Q_OBJECT

private slots:
    void filters_data()
    {
        QTest::addColumn<int>("pixelBytes");
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<int>("filter"); // the one most rows take

        QTest::newRow("four values at random: none") << 1 << Rule([](int, int, int, int n) { return n % 4; }) << 0;
        QTest::newRow("a step from the left: sub") << 1 << Rule([](int a, int, int, int) { return a + 3; }) << 1;
        QTest::newRow("a step from above: up") << 3 << Rule([](int, int b, int, int) { return b + 5; }) << 2;
        QTest::newRow("the mean of left and above: average")
            << 1 << Rule([](int a, int b, int, int) { return (a + b) / 2 + 9; }) << 3;
        QTest::newRow("paeth's guess, four bytes a pixel") << 4 << Rule([](int a, int b, int c, int) {
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            return (pa <= pb && pa <= pc ? a : pb <= pc ? b : c) + 1;
        }) << 4;
    }

    // A picture made for a filter takes it in most rows, and libpng,
    // through Qt, reads the pixels back from the stream.
    void filters()
    {
        QFETCH(int, pixelBytes);
        QFETCH(Rule, rule);
        QFETCH(int, filter);
        const int width = 64, rows = 48, rowBytes = width * pixelBytes;
        std::vector<std::uint8_t> pixels(std::size_t(rowBytes * rows));
        unsigned seed = 7;
        for (int i = 0; i < rowBytes * rows; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int(seed >> 16) & 255;
            pixels[std::size_t(i)] =
                std::uint8_t(i < rowBytes || i % rowBytes < pixelBytes
                                 ? noise
                                 : rule(pixels[std::size_t(i - pixelBytes)], pixels[std::size_t(i - rowBytes)],
                                        pixels[std::size_t(i - rowBytes - pixelBytes)], noise));
        }
        const std::vector<std::uint8_t> packed = PngRowPacker().pack({pixels}, rowBytes, rows, pixelBytes).bytes;

        QByteArray filtered(rows * (rowBytes + 1), 0);
        uLongf size = uLongf(filtered.size());
        QCOMPARE(uncompress(reinterpret_cast<Bytef *>(filtered.data()), &size, packed.data(), uLong(packed.size())),
                 Z_OK);
        int taking = 0;
        for (int y = 0; y < rows; ++y)
            taking += filtered[y * (rowBytes + 1)] == filter;
        QVERIFY2(taking > rows / 2, qPrintable(QString("%1 rows").arg(taking)));

        const std::uint8_t type[] = {0, 4, 2, 6};
        QByteArray png("\x89PNG\r\n\x1a\n", 8);
        PngChunks::appendChunk(png, "IHDR", PngChunks::header(QSize(width, rows), type[pixelBytes - 1]));
        PngChunks::appendChunk(png, "IDAT",
                               QByteArray(reinterpret_cast<const char *>(packed.data()), qsizetype(packed.size())));
        PngChunks::appendChunk(png, "IEND", {});
        const QImage::Format format[] = {QImage::Format_Grayscale8, {}, QImage::Format_RGB888, QImage::Format_RGBA8888};
        const QImage read = QImage::fromData(png, "PNG").convertToFormat(format[pixelBytes - 1]);
        for (int y = 0; y < rows; ++y)
            QVERIFY(
                std::equal(pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes, read.constScanLine(y)));
    }
};

QTEST_MAIN(TestPngRows)
#include "tst_png_rows.moc"
