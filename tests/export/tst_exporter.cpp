// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exporter.h"
#include "model/program_info.h"
#include "platform/canvas_widget.h"
#include "platform/picture_writer.h"
#include "posefile/pose_reader.h"
#include "render/draw_figure.h"

#include "test_support.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <QTest>
#include <QXmlStreamReader>

using namespace zelbrook;

namespace {

using test::largeHeadPose;
using test::startPose;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestExporter : public QObject
{
    Q_OBJECT

private slots:
    void editorBitmap_data()
    {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<QByteArray>("caption");

        QTest::newRow("start-up pose") << Figure{startPose(), 2} << QByteArray(kProgramCaption.data());
        QTest::newRow("thinnest pen, another caption") << Figure{startPose(), 1} << QByteArray("Untitled - Zelbrook");
        QTest::newRow("large head, thickest pen") << Figure{largeHeadPose(), 7} << QByteArray(kProgramCaption.data());
    }

    // The editor's bitmap is its canvas after DrawMan, encoded as BMP; the
    // exporter gives the same bytes and the same picture, also after it has
    // drawn other figures at other zooms.
    void editorBitmap()
    {
        QFETCH(Figure, figure);
        QFETCH(QByteArray, caption);

        CanvasWidget widget;
        widget.canvas().setDrawWidth(figure.penWidth);
        drawFigure(figure.pose, widget.canvas(), caption.toStdString());
        const QByteArray editorBytes = PictureWriter().encode(widget.canvas().Image(), "bmp");
        QVERIFY(editorBytes.startsWith("BM"));

        Exporter exporter;
        const Result<QByteArray> first = exporter.encode(figure, caption.toStdString(), ExportFormat::Bmp);
        QVERIFY(first.ok());
        QCOMPARE(*first, editorBytes);
        QVERIFY(exporter.encode(Figure{largeHeadPose(), 5}, "other", ExportFormat::Png, 3).ok());
        const QImage picture = exporter.picture(figure, caption.toStdString());
        QCOMPARE(picture, widget.canvas().Image());
        QCOMPARE(*exporter.encode(figure, caption.toStdString(), ExportFormat::Bmp), editorBytes);
        QCOMPARE(picture, widget.canvas().Image());
    }

    void zoomedPng_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::newRow("1") << 1;
        QTest::newRow("3") << 3;
        QTest::newRow("8") << 8;
    }

    void zoomedPng()
    {
        QFETCH(int, zoom);
        const Figure figure{largeHeadPose(), 3};
        RasterCanvas canvas(zoom);
        canvas.setDrawWidth(3);
        drawFigure(figure.pose, canvas, kProgramCaption);
        const Result<QByteArray> png = Exporter().encode(figure, kProgramCaption, ExportFormat::Png, zoom);
        QVERIFY(png.ok());
        const QImage decoded = QImage::fromData(*png, "PNG");
        QCOMPARE(decoded.size(), QSize(493 * zoom, 397 * zoom));
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), canvas.Image());
    }

    void fittedPng_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<int>("sameAsZoom");
        QTest::newRow("smallest") << 16 << QSize(16, 13) << 0;
        QTest::newRow("thumbnail") << 128 << QSize(128, 103) << 0;
        QTest::newRow("large thumbnail") << 1024 << QSize(1024, 825) << 0;
        QTest::newRow("twice the canvas") << 986 << QSize(986, 794) << 2;
        QTest::newRow("largest") << 3944 << QSize(3944, 3176) << 8;
    }

    // A fitted picture keeps the canvas's proportions, stays an 8-bit grey
    // PNG, and is the zoomed picture itself where that has the size.
    void fittedPng()
    {
        QFETCH(int, size);
        QFETCH(int, sameAsZoom);
        const Figure figure{largeHeadPose(), 3};
        Exporter exporter;
        const QImage decoded =
            QImage::fromData(*exporter.encodeFitted(figure, kProgramCaption, ExportFormat::Png, size), "PNG");
        QTEST(decoded.size(), "expected");
        QCOMPARE(decoded.format(), QImage::Format_Grayscale8);
        if (sameAsZoom > 0)
            QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32),
                     exporter.picture(figure, kProgramCaption, sameAsZoom));
    }

    // The data formats: the pose file reads back to the same pose, the JSON
    // carries the pen and the SVG is well formed with the credit line.
    void dataFormats()
    {
        Exporter exporter;
        const Figure figure{largeHeadPose(), 6};
        const Result<QByteArray> zbk = exporter.encode(figure, kProgramCaption, ExportFormat::Zbk);
        QVERIFY(zbk.ok());
        const auto read = readPoseFile(zbk->toStdString(), figure.pose);
        QVERIFY(read.ok());
        QCOMPARE(read.value(), figure.pose);

        const Result<QByteArray> json = exporter.encode(figure, kProgramCaption, ExportFormat::Json);
        QVERIFY(json.ok());
        QCOMPARE(QJsonDocument::fromJson(*json)["penWidth"].toInt(), 6);
        QCOMPARE(QJsonDocument::fromJson(*json)["pose"]["headRadius"].toInt(), 95);

        const Result<QByteArray> svg = exporter.encode(figure, "Some caption", ExportFormat::Svg, 4);
        QVERIFY(svg.ok());
        QXmlStreamReader reader(*svg);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QVERIFY(svg->contains(">made with Some caption</text>"));
        QVERIFY(svg->contains(">Gee, I&apos;m CLEVER!</text>"));
        QVERIFY(svg->contains("viewBox=\"0 0 500 400\""));
    }

    void write_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");

        QTest::newRow("new file") << "figure.bmp" << QString();
        QTest::newRow("over the old file") << "old.bmp" << QString();
        QTest::newRow("missing folder") << "nowhere/figure.bmp"
                                        << "The folder does not exist.";
        QTest::newRow("folder in the way") << "folder"
                                           << "It is a folder, not a file.";
    }

    // A failure leaves the folder as it was.
    void write()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        QFile old(dir.filePath("old.bmp"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        Exporter exporter;
        const Figure figure{startPose(), 4};
        const Status written = exporter.write(figure, kProgramCaption, ExportFormat::Bmp, 1, dir.filePath(name));
        if (!error.isEmpty()) {
            QVERIFY(!written.ok());
            QCOMPARE(QString::fromStdString(written.error().message), error);
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
            QCOMPARE(fileBytes(dir.filePath("old.bmp")), QByteArray("old"));
            return;
        }
        QVERIFY(written.ok());
        QCOMPARE(fileBytes(dir.filePath(name)), *exporter.encode(figure, kProgramCaption, ExportFormat::Bmp));
    }
};

QTEST_MAIN(TestExporter)
#include "tst_exporter.moc"
