// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/exporter.h"
#include "model/program_info.h"
#include "platform/picture_writer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTest>
#include <QtEndian>

using namespace zelbrook;

namespace {

// What PNG exports were before: Qt's own writer at its default setting.
QByteArray qtPng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// Byte 25 of a PNG file, in its header chunk: 0 grey, 2 colour, 3 palette.
int colourType(const QByteArray &png) { return png.size() > 25 ? int(png[25]) : -1; }

QImage filled(int width, int height, const std::function<QRgb(int, int)> &colour, QImage::Format format)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colour(x, y));
    return image;
}

Pose startPose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

} // namespace

class TestPngOutput : public QObject
{
    Q_OBJECT

private slots:
    void encoder_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("type"); // 6 when Qt's writer keeps the alpha

        const auto rgb32 = QImage::Format_RGB32;
        QTest::newRow("grey levels") << filled(
            17, 5, [](int x, int y) { return qRgb(x * 15, x * 15, x * 15 + y * 0); }, rgb32)
                                     << 0;
        QTest::newRow("one pixel") << filled(
            1, 1, [](int, int) { return qRgb(9, 9, 9); }, rgb32)
                                   << 0;
        QTest::newRow("256 colours") << filled(
            64, 8, [](int x, int y) { return qRgb(x + 64 * (y % 4), 255 - x - 64 * (y % 4), x / 2); }, rgb32)
                                     << 3;
        QTest::newRow("257 colours") << filled(
            257, 2, [](int x, int) { return qRgb(x % 256, x / 256, 0); }, rgb32)
                                     << 2;
        QTest::newRow("red and blue figures, grey text") << test::twoFigureFrame(0) << 3;
        QTest::newRow("another format") << filled(
            3, 3, [](int x, int y) { return qRgb(x, y, 7); }, QImage::Format_RGB888)
                                        << 3;
        QTest::newRow("alpha channel") << filled(
            3, 3, [](int x, int) { return qRgba(1, 2, 3, 80 * x); }, QImage::Format_ARGB32)
                                       << 6;
    }

    // Every picture is stored in the smallest type that holds its colours
    // and reads back the same, written by one writer after another picture.
    void encoder()
    {
        QFETCH(QImage, image);
        QFETCH(int, type);
        const QByteArray written = m_writer.encode(image, "png");
        QCOMPARE(colourType(written), type);
        const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        QCOMPARE(QImage::fromData(written, "PNG").convertToFormat(format), image.convertToFormat(format));
    }

    void figures_data()
    {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<int>("zoom");

        Pose large = startPose();
        large.headRadius = 100;
        large.scale = 2.5;
        large.rotation = 2.0;
        QTest::newRow("start-up pose") << Figure{startPose(), 2} << 1;
        QTest::newRow("start-up pose, zoom 3") << Figure{startPose(), 2} << 3;
        QTest::newRow("pen 7") << Figure{startPose(), 7} << 1;
        QTest::newRow("large head, turned, zoom 2, pen 5") << Figure{large, 5} << 2;
        QTest::newRow("thin pen, zoom 8") << Figure{startPose(), 1} << 8;
        Pose away = startPose();
        away.scale = 1e308; // only the credit line is left in the picture
        QTest::newRow("figure out of sight") << Figure{away, 2} << 1;
        Pose huge = large;
        huge.scale = 30.0; // black strokes across the whole picture
        QTest::newRow("strokes across the picture, pen 7, zoom 8") << Figure{huge, 7} << 8;
    }

    // The pictures of figures are grey, as exported they read back pixel for
    // pixel, and no file is larger than Qt's writer made it.
    void figures()
    {
        QFETCH(Figure, figure);
        QFETCH(int, zoom);
        Exporter exporter;
        const Result<QByteArray> png = exporter.encode(figure, kProgramCaption, ExportFormat::Png, zoom);
        QVERIFY(png.ok());
        const QImage picture = exporter.picture(figure, kProgramCaption, zoom);
        QCOMPARE(colourType(*png), 0);
        QCOMPARE(QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_RGB32), picture);
        const QByteArray before = qtPng(picture);
        QVERIFY2(png->size() <= before.size(), qPrintable(QString("%1 > %2").arg(png->size()).arg(before.size())));
    }

private:
    PictureWriter m_writer;
};

QTEST_MAIN(TestPngOutput)
#include "tst_png_output.moc"
