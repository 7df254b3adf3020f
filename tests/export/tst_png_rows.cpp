// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/png_rows.h"
#include "platform/png_chunks.h"

#include <QTest>

#include <zlib.h>

#include <map>

using namespace zelbrook;

namespace {

// A picture whose every byte after the first row and column is worked out
// from its left, upper and upper left neighbours (a, b, c) by `rule`; the
// first row and column, and what `rule` adds, come from a fixed noise.
using Rule = int (*)(int a, int b, int c, int noise);

std::vector<std::uint8_t> picture(int rowBytes, int rows, int pixelBytes, Rule rule)
{
    std::vector<std::uint8_t> bytes(std::size_t(rowBytes * rows));
    unsigned seed = 7;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < rowBytes; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int(seed >> 16) & 255;
            const auto at = [&bytes, rowBytes](int i, int j) { return int(bytes[std::size_t(j * rowBytes + i)]); };
            const bool edge = y == 0 || x < pixelBytes;
            bytes[std::size_t(y * rowBytes + x)] = std::uint8_t(
                edge ? noise : rule(at(x - pixelBytes, y), at(x, y - 1), at(x - pixelBytes, y - 1), noise));
        }
    return bytes;
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

} // namespace

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
        QTest::newRow("paeth's guess, four bytes a pixel")
            << 4 << Rule([](int a, int b, int c, int) { return paeth(a, b, c) + 1; }) << 4;
    }

    // The picture made for a filter takes it in most rows, and libpng,
    // through Qt, reads back the pixels from the stream.
    void filters()
    {
        QFETCH(int, pixelBytes);
        QFETCH(Rule, rule);
        QFETCH(int, filter);
        const int width = 64, rows = 48, rowBytes = width * pixelBytes;
        const std::vector<std::uint8_t> pixels = picture(rowBytes, rows, pixelBytes, rule);
        PngRowPacker packer;
        const PngRowPacker::Packed packed = packer.pack({pixels}, rowBytes, rows, pixelBytes);
        QCOMPARE(packed.choice, 0u);

        std::vector<std::uint8_t> rowsBack(std::size_t((rowBytes + 1) * rows));
        uLongf size = uLongf(rowsBack.size());
        QCOMPARE(uncompress(rowsBack.data(), &size, packed.bytes.data(), uLong(packed.bytes.size())), Z_OK);
        std::map<int, int> taken;
        for (int y = 0; y < rows; ++y)
            ++taken[rowsBack[std::size_t(y * (rowBytes + 1))]];
        QCOMPARE(
            std::max_element(taken.begin(), taken.end(), [](auto l, auto r) { return l.second < r.second; })->first,
            filter);

        QByteArray png("\x89PNG\r\n\x1a\n", 8);
        PngChunks::appendChunk(png, "IHDR",
                               PngChunks::header(QSize(width, rows), pixelBytes == 4   ? 6
                                                                     : pixelBytes == 3 ? 2
                                                                                       : 0));
        PngChunks::appendChunk(
            png, "IDAT",
            QByteArray(reinterpret_cast<const char *>(packed.bytes.data()), qsizetype(packed.bytes.size())));
        PngChunks::appendChunk(png, "IEND", {});
        const QImage read = QImage::fromData(png, "PNG")
                                .convertToFormat(pixelBytes == 4   ? QImage::Format_RGBA8888
                                                 : pixelBytes == 3 ? QImage::Format_RGB888
                                                                   : QImage::Format_Grayscale8);
        QCOMPARE(read.size(), QSize(width, rows));
        for (int y = 0; y < rows; ++y)
            QVERIFY(
                std::equal(pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes, read.constScanLine(y)));
    }

    // Of two ways of writing one picture, the one that packs smaller.
    void choice()
    {
        const std::vector<std::uint8_t> noise = picture(64, 32, 1, [](int, int, int, int n) { return n; });
        const std::vector<std::uint8_t> flat(noise.size(), 7);
        PngRowPacker packer;
        QCOMPARE(packer.pack({noise, flat}, 64, 32, 1).choice, 1u);
        QCOMPARE(packer.pack({flat, noise}, 64, 32, 1).choice, 0u);
    }
};

QTEST_MAIN(TestPngRows)
#include "tst_png_rows.moc"
