// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_writer.h"

#include <QTest>
#include <QtEndian>

#include <functional>

using namespace zelbrook;
using Pixels = PngFormat::Pixels;
using Policy = PngPacker::Policy;

namespace {

// A pattern of the given colours, 600 x 370 pixels; without colours, noise
// in every channel, whose compressed rows need more than one IDAT chunk.
// Every transparent pixel is 0, as a PNG reader gives it back.
QImage striped(const QList<QRgb> &colours)
{
    QImage image(600, 370, QImage::Format_ARGB32);
    quint32 noise = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const QRgb pixel = colours.isEmpty() ? noise : colours[(x * 7 + y * 13 + x * y) % colours.size()];
            image.setPixel(x, y, qAlpha(pixel) == 0 ? 0 : pixel);
        }
    return image;
}

// Each byte after the first row and column worked out from its left, upper
// and upper left neighbours and some noise; the first row and column noise.
using Rule = std::function<int(int a, int b, int c, int noise)>;

// A picture of 64 x 48 pixels of `pixelBytes` bytes (grey, RGB or RGBA)
// made by the rule, every transparent pixel 0.
QImage ruled(int pixelBytes, const Rule &rule)
{
    const int width = 64, rows = 48, rowBytes = width * pixelBytes;
    std::vector<int> bytes(std::size_t(rowBytes * rows));
    unsigned seed = 7;
    for (int i = 0; i < rowBytes * rows; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int noise = int(seed >> 16) & 255;
        const bool edge = i < rowBytes || i % rowBytes < pixelBytes;
        const auto at = [&bytes](int j) { return bytes[std::size_t(j)]; };
        bytes[std::size_t(i)] =
            (edge ? noise : rule(at(i - pixelBytes), at(i - rowBytes), at(i - rowBytes - pixelBytes), noise)) & 255;
    }
    QImage image(width, rows, pixelBytes == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) {
            const int *p = &bytes[std::size_t(y * rowBytes + x * pixelBytes)];
            const QRgb pixel =
                pixelBytes == 1 ? qRgb(p[0], p[0], p[0]) : qRgba(p[0], p[1], p[2], pixelBytes == 4 ? p[3] : 255);
            image.setPixel(x, y, qAlpha(pixel) == 0 ? 0 : pixel);
        }
    return image;
}

Result<QByteArray> written(const QImage &image, const PngFormat &format, PngPacker &packer, int rowsAtOnce)
{
    QByteArray png;
    PngWriter writer(format, packer, [&png](std::string_view bytes) {
        png.append(bytes.data(), qsizetype(bytes.size()));
        return Status();
    });
    Status status = writer.writeHeader();
    for (int y = 0; status && y < image.height(); y += rowsAtOnce)
        status = writer.writeRows(image, y, std::min(image.height(), y + rowsAtOnce));
    if (status)
        status = writer.finishRows();
    if (status)
        status = writer.writeEnd();
    if (!status)
        return status.error();
    return png;
}

// The filter type of each row, read from the PNG's image data.
QList<int> rowFilters(const QByteArray &png, int rowBytes, int rows)
{
    QByteArray stream(4, 0);
    qToBigEndian<quint32>(quint32((rowBytes + 1) * rows), stream.data());
    for (int at = 8; at + 12 <= png.size(); at += qFromBigEndian<quint32>(png.constData() + at) + 12)
        if (png.mid(at + 4, 4) == "IDAT")
            stream.append(png.mid(at + 8, qFromBigEndian<quint32>(png.constData() + at)));
    const QByteArray filtered = qUncompress(stream);
    QList<int> filters;
    for (int y = 0; y < rows && y * (rowBytes + 1) < filtered.size(); ++y)
        filters.append(filtered[y * (rowBytes + 1)]);
    return filters;
}

// Byte 25 of a PNG file, in its header chunk: the colour type.
int colourType(const QByteArray &png) { return png.size() > 25 ? int(png[25]) : -1; }

} // namespace

class TestPngWriter : public QObject
{
    Q_OBJECT

private slots:
    void readsBack_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QList<QRgb>>("palette");
        QTest::addColumn<int>("rowsAtOnce");
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("type");   // of the header: 0 grey, 4 grey and alpha, 2 RGB, 6 RGBA, 3 palette
        QTest::addColumn<int>("filter"); // the one most rows take, -1 for any
        QTest::addColumn<QString>("refusal");

        // Each case with each packing: the fast and streamed ones take the
        // filter their pixel size suits, the smallest the picture's own.
        const auto add = [](const char *name, const QImage &image, Pixels pixels, int rowsAtOnce, int type,
                            int fastFilter, int smallestFilter, const QList<QRgb> &palette = {},
                            const QString &refusal = {}) {
            for (const auto &[policy, packing] :
                 {std::pair{Policy::Fast, "fast"}, std::pair{Policy::Streamed, "streamed"},
                  std::pair{Policy::Smallest, "smallest"}})
                QTest::addRow("%s, %s", name, packing)
                    << image << int(pixels) << palette << rowsAtOnce << int(policy) << type
                    << (policy == Policy::Smallest ? smallestFilter : fastFilter) << refusal;
        };
        const QList<QRgb> palette{0, 0x80FF0000, 0xFFFFFFFF, 0xFF2040C0};
        add("grey, a row at a time", striped({0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F}), Pixels::Grey, 1, 0, 0, -1);
        add("grey with alpha, 5 at once", striped({0, 0xFF000000, 0x80000000, 0x01000000, 0xC0606060}),
            Pixels::GreyAlpha, 5, 4, 0, -1);
        add("truecolour, all at once", striped({0xFFFFFFFF, 0xFFFF0000, 0xFF1020F0}), Pixels::Truecolour, 370, 2, 1,
            -1);
        add("truecolour with alpha, 10 at once", striped({0, 0x80FF0000, 0x201020F0}), Pixels::TruecolourAlpha, 10, 6,
            1, -1);
        add("indexed with alpha, 7 at once", striped(palette), Pixels::Indexed, 7, 3, 0, -1, palette);
        add("noise with alpha, 64 at once", striped({}), Pixels::TruecolourAlpha, 64, 6, 1, -1);
        add("four values at random: none", ruled(1, [](int, int, int, int n) { return n % 4; }), Pixels::Grey, 48, 0, 0,
            0);
        add("a step from the left: sub", ruled(1, [](int a, int, int, int) { return a + 3; }), Pixels::Grey, 48, 0, 0,
            1);
        add("a step from above: up", ruled(3, [](int, int b, int, int) { return b + 5; }), Pixels::Truecolour, 48, 2, 1,
            2);
        add("the mean of left and above: average", ruled(1, [](int a, int b, int, int) { return (a + b) / 2 + 9; }),
            Pixels::Grey, 48, 0, 0, 3);
        const Rule paeth = [](int a, int b, int c, int) {
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            return (pa <= pb && pa <= pc ? a : pb <= pc ? b : c) + 1;
        };
        add("paeth's guess, four bytes a pixel", ruled(4, paeth), Pixels::TruecolourAlpha, 48, 6, 1, 4);
        add("a colour outside the palette", striped({0xFFFFFFFF, 0xFFFF0000}), Pixels::Indexed, 7, 3, -1, -1,
            {0xFFFFFFFF}, "The picture has a colour that is not in its palette.");
        const QString notGrey = "The picture has a colour where only grey levels were expected.";
        add("a colour in grey levels", striped({0xFF7F7F7F, 0xFF7F7F80}), Pixels::Grey, 7, 0, -1, -1, {}, notGrey);
        add("a colour in grey levels with alpha", striped({0x80FFFFFF, 0x80FF0000}), Pixels::GreyAlpha, 7, 4, -1, -1,
            {}, notGrey);
    }

    // Qt's reader gives back every pixel, with its alpha, however the rows
    // were handed over and packed, and most rows take the filter the
    // packing or the picture calls for; a colour the image cannot hold is
    // refused, never changed into another.
    void readsBack()
    {
        QFETCH(QImage, image);
        QFETCH(int, pixels);
        QFETCH(QList<QRgb>, palette);
        QFETCH(int, rowsAtOnce);
        QFETCH(int, policy);
        QFETCH(int, type);
        QFETCH(int, filter);
        QFETCH(QString, refusal);
        PngPacker packer{Policy(policy)};
        const PngFormat format{image.size(), Pixels(pixels), {palette.begin(), palette.end()}};
        const Result<QByteArray> png = written(image, format, packer, rowsAtOnce);
        QCOMPARE(png ? QString() : QString::fromStdString(png.error().message), refusal);
        if (!png)
            return;
        QCOMPARE(colourType(*png), type);
        QCOMPARE(QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_ARGB32),
                 image.convertToFormat(QImage::Format_ARGB32));
        const int pixelBytes[] = {1, 0, 3, 1, 2, 0, 4};
        const QList<int> filters = rowFilters(*png, image.width() * pixelBytes[type], image.height());
        QCOMPARE(filters.size(), image.height());
        if (filter >= 0)
            QVERIFY2(filters.count(filter) > filters.size() / 2,
                     qPrintable(QString("%1 rows").arg(filters.count(filter))));
    }
};

QTEST_MAIN(TestPngWriter)
#include "tst_png_writer.moc"
