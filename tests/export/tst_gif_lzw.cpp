// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_lzw.h"

#include <QTest>

#include <gif_lib.h>

#include <cstring>

using namespace zelbrook;

namespace {

using Indices = std::vector<std::uint8_t>;

// What giflib reads from a one-image GIF of the indices as one row, with a
// colour table of 256 entries; empty when it cannot read it.
Indices readBack(const Indices &indices, int codeSize)
{
    const auto width = std::uint16_t(indices.size());
    const auto low = std::uint8_t(width), high = std::uint8_t(width >> 8);
    // The header and screen, a table of 256 black entries, then the image.
    std::vector<std::uint8_t> gif{'G', 'I', 'F', '8', '9', 'a', low, high, 1, 0, 0xF7, 0, 0};
    gif.reserve(gif.size() + 3 * 256 + 10 + indices.size() * 2 + 64);
    gif.insert(gif.end(), 3 * 256, std::uint8_t(0));
    for (const std::uint8_t byte : {std::uint8_t(0x2C), std::uint8_t(0), std::uint8_t(0), std::uint8_t(0),
                                    std::uint8_t(0), low, high, std::uint8_t(1), std::uint8_t(0), std::uint8_t(0)})
        gif.push_back(byte);
    appendImageData(gif, lzwCode(indices.data(), indices.size(), codeSize), codeSize);
    gif.push_back(0x3B);
    std::pair<const std::uint8_t *, std::size_t> input{gif.data(), gif.size()};
    int error = 0;
    GifFileType *file = DGifOpen(
        &input,
        [](GifFileType *f, GifByteType *out, int length) {
            auto *in = static_cast<std::pair<const std::uint8_t *, std::size_t> *>(f->UserData);
            const int taken = int(std::min<std::size_t>(std::size_t(length), in->second));
            std::memcpy(out, in->first, std::size_t(taken));
            in->first += taken;
            in->second -= std::size_t(taken);
            return taken;
        },
        &error);
    Indices read;
    if (file && DGifSlurp(file) == GIF_OK && file->ImageCount == 1)
        read.assign(file->SavedImages[0].RasterBits, file->SavedImages[0].RasterBits + indices.size());
    DGifCloseFile(file, &error);
    return read;
}

// `count` indices below `colours`, from a fixed sequence; `seed` varies it.
Indices noise(std::size_t count, int colours, unsigned seed)
{
    Indices indices(count);
    for (std::uint8_t &index : indices) {
        seed = seed * 1103515245u + 12345u;
        index = std::uint8_t((seed >> 16) % unsigned(colours));
    }
    return indices;
}

} // namespace

class TestGifLzw : public QObject
{
    Q_OBJECT

private slots:
    void codeSize_data()
    {
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("bits");
        for (const auto &[highest, bits] : {std::pair{0, 2}, {3, 2}, {4, 3}, {7, 3}, {8, 4}, {128, 8}, {255, 8}})
            QTest::addRow("highest %d", highest) << highest << bits;
    }

    // The width follows the largest index, never under 2 bits.
    void codeSize()
    {
        QFETCH(int, highest);
        QFETCH(int, bits);
        QCOMPARE(lzwCodeSize(highest), bits);
    }

    void roundTrip_data()
    {
        QTest::addColumn<Indices>("indices");
        QTest::addColumn<int>("codeSize");

        QTest::newRow("one index") << Indices{1} << 2;
        QTest::newRow("a run longer than the table holds") << Indices(60000, 2) << 2;
        QTest::newRow("noise of four indices, the table full") << noise(60000, 4, 1) << 2;
        Indices changing = noise(30000, 4, 2);
        const Indices wider = noise(30000, 200, 3);
        changing.insert(changing.end(), wider.begin(), wider.end());
        QTest::newRow("four indices, then 200") << changing << 8;
        QTest::newRow("every index of 8 bits") << noise(20000, 256, 4) << 8;
    }

    // giflib's reader reads back every index, whether the code table is
    // kept once full or started again.
    void roundTrip()
    {
        QFETCH(Indices, indices);
        QFETCH(int, codeSize);
        QCOMPARE(readBack(indices, codeSize), indices);
    }
};

QTEST_MAIN(TestGifLzw)
#include "tst_gif_lzw.moc"
