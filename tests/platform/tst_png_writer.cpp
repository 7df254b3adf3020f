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

// Every packing policy, with its name.
const std::pair<Policy, const char *> kPolicies[] = {
    {Policy::Fast, "fast"}, {Policy::Streamed, "streamed"}, {Policy::Smallest, "smallest"}};

PngWriter::Sink appendTo(QByteArray &png)
{
    return [&png](std::string_view bytes) {
        png.append(bytes.data(), qsizetype(bytes.size()));
        return Status();
    };
}

Result<QByteArray> written(const QImage &image, const PngFormat &format, PngPacker &packer, int rowsAtOnce)
{
    QByteArray png;
    PngWriter writer(format, packer, appendTo(png));
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
        QTest::addColumn<int>("transparentGrey");

        // Each case with each packing: the fast and streamed ones take the
        // filter their pixel size suits, the smallest the picture's own.
        const auto add = [](const char *name, const QImage &image, Pixels pixels, int rowsAtOnce, int type,
                            int fastFilter, int smallestFilter, const QList<QRgb> &palette = {},
                            const QString &refusal = {}, int transparentGrey = -1) {
            for (const auto &[policy, packing] : kPolicies)
                QTest::addRow("%s, %s", name, packing)
                    << image << int(pixels) << palette << rowsAtOnce << int(policy) << type
                    << (policy == Policy::Smallest ? smallestFilter : fastFilter) << refusal << transparentGrey;
        };
        const QList<QRgb> palette{0, 0x80FF0000, 0xFFFFFFFF, 0xFF2040C0};
        const QList<QRgb> greys{0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F};
        add("grey, a row at a time", striped(greys), Pixels::Grey, 1, 0, 0, -1);
        add("grey with one level transparent", striped(greys), Pixels::Grey, 3, 0, 0, -1, greys, {}, 0x7F);
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
        add("a grey the image may not hold", striped(greys), Pixels::Grey, 7, 0, -1, -1, {0xFFFFFFFF, 0xFF000000},
            "The picture has a colour that is not in its palette.");
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
        QFETCH(int, transparentGrey);
        PngPacker packer{Policy(policy)};
        const PngFormat format{image.size(), Pixels(pixels), {palette.begin(), palette.end()}, transparentGrey};
        const Result<QByteArray> png = written(image, format, packer, rowsAtOnce);
        QCOMPARE(png ? QString() : QString::fromStdString(png.error().message), refusal);
        if (!png)
            return;
        QCOMPARE(colourType(*png), type);
        QImage shown = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (transparentGrey >= 0
                    && shown.pixel(x, y) == qRgb(transparentGrey, transparentGrey, transparentGrey))
                    shown.setPixel(x, y, 0);
        QCOMPARE(QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_ARGB32), shown);
        const int pixelBytes[] = {1, 0, 3, 1, 2, 0, 4};
        const QList<int> filters = rowFilters(*png, image.width() * pixelBytes[type], image.height());
        QCOMPARE(filters.size(), image.height());
        if (filter >= 0)
            QVERIFY2(filters.count(filter) > filters.size() / 2,
                     qPrintable(QString("%1 rows").arg(filters.count(filter))));
    }

    void startsAgain_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("rowsBefore"); // of the image left unfinished
        QTest::addColumn<bool>("refused");   // whether its last row was refused

        for (const auto &[policy, packing] : kPolicies) {
            QTest::addRow("%s, after an image with no rows", packing) << int(policy) << 0 << false;
            QTest::addRow("%s, after half an image", packing) << int(policy) << 185 << false;
            QTest::addRow("%s, after an image refused at row 200", packing) << int(policy) << 200 << true;
        }
    }

    // A packer left with an unfinished image packs the next one as a new
    // packer does.
    void startsAgain()
    {
        QFETCH(int, policy);
        QFETCH(int, rowsBefore);
        QFETCH(bool, refused);
        QList<QRgb> levels;
        for (int level = 0; level < 256; ++level)
            levels.append(qRgb(level, level, level));
        QImage first = striped(levels);
        first.setPixel(300, 200, qRgb(255, 0, 0));
        const PngFormat format{first.size(), Pixels::Grey};
        PngPacker packer{Policy(policy)}, fresh{Policy(policy)};
        {
            PngWriter unfinished(format, packer, [](std::string_view) { return Status(); });
            QVERIFY(unfinished.writeHeader().ok());
            QCOMPARE(unfinished.writeRows(first, 0, rowsBefore + int(refused)).ok(), !refused);
        }
        const QImage next = striped({0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F});
        const Result<QByteArray> again = written(next, {next.size(), Pixels::Grey}, packer, 10);
        const Result<QByteArray> anew = written(next, {next.size(), Pixels::Grey}, fresh, 10);
        QVERIFY(again.ok() && anew.ok());
        QCOMPARE(*again, *anew);
    }

    void ways_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("choice");

        QTest::newRow("fast takes the first") << int(Policy::Fast) << 0;
        QTest::newRow("streamed takes the first") << int(Policy::Streamed) << 0;
        QTest::newRow("smallest takes the one of fewer bytes") << int(Policy::Smallest) << 1;
    }

    // Of two ways of writing a picture's rows, noise and a single level, the
    // policy's is packed, and it reads back as those rows.
    void ways()
    {
        QFETCH(int, policy);
        QFETCH(int, choice);
        const int width = 64, rows = 48;
        std::vector<std::vector<std::uint8_t>> ways(2, std::vector<std::uint8_t>(std::size_t((width + 1) * rows), 9));
        for (std::size_t i = 0; i < ways[0].size(); ++i)
            ways[0][i] = std::uint8_t(i * 7919 % 251);
        const std::vector<std::vector<std::uint8_t>> given = ways;
        PngPacker packer{Policy(policy)};
        const PngPacker::Packed packed = packer.pack(ways, width, rows, 1);
        QCOMPARE(int(packed.choice), choice);
        QByteArray png;
        PngWriter writer({QSize(width, rows), Pixels::Grey}, packer, appendTo(png));
        const auto *stream = reinterpret_cast<const char *>(packed.bytes.data());
        QVERIFY(writer.writeHeader()
                && writer.writeChunk("IDAT", QByteArrayView(stream, qsizetype(packed.bytes.size())))
                && writer.writeEnd());
        const QImage read = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_Grayscale8);
        QCOMPARE(read.size(), QSize(width, rows));
        for (int y = 0; y < rows; ++y)
            QVERIFY(std::equal(read.constScanLine(y), read.constScanLine(y) + width,
                               given[std::size_t(choice)].begin() + y * (width + 1) + 1));
    }

    void rowsMustFit_data()
    {
        QTest::addColumn<int>("width"); // of the picture, whose image is 8 x 4
        QTest::addColumn<int>("rows");  // given before the image ends
        QTest::addColumn<QString>("message");

        const QString unfit = "The rows do not fit the picture.";
        QTest::newRow("a picture wider than the image") << 9 << 4 << unfit;
        QTest::newRow("a picture narrower than the image") << 7 << 4 << unfit;
        QTest::newRow("more rows than the image has") << 8 << 5 << unfit;
        QTest::newRow("the image ended early") << 8 << 3 << "The picture ends before its last row.";
        QTest::newRow("every row") << 8 << 4 << QString();
    }

    void rowsMustFit()
    {
        QFETCH(int, width);
        QFETCH(int, rows);
        QFETCH(QString, message);
        QImage picture(width, 5, QImage::Format_RGB32);
        picture.fill(Qt::white);
        PngPacker packer{Policy::Fast};
        PngWriter writer({QSize(8, 4), Pixels::Grey}, packer, [](std::string_view) { return Status(); });
        Status status = writer.writeRows(picture, 0, rows);
        if (status)
            status = writer.finishRows();
        QCOMPARE(status ? QString() : QString::fromStdString(status.error().message), message);
    }
};

QTEST_MAIN(TestPngWriter)
#include "tst_png_writer.moc"
