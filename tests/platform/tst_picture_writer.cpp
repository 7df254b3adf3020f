#include "platform/picture_writer.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace zelbrook;

namespace {

// Every pixel different from its neighbours, so a shifted row or a swapped
// channel shows.
QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 13) & 0xFF, (x + y * 3) & 0xFF));
    return image;
}

quint32 le32(const QByteArray &bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 le16(const QByteArray &bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

bool samePixels(const QImage &decoded, const QImage &original)
{
    return decoded.convertToFormat(QImage::Format_RGB32) == original;
}

} // namespace

class TestPictureWriter : public QObject
{
    Q_OBJECT

private slots:
    void bitmap_data();
    void bitmap();
    void png();
    void saveRoundTrip_data();
    void saveRoundTrip();
    void failures_data();
    void failures();
};

void TestPictureWriter::bitmap_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("rows that need padding") << QSize(3, 2);
    QTest::newRow("the canvas") << QSize(493, 397);
}

// A Windows bitmap: "BM", the file size, a bottom-up 24- or 32-bit picture
// of the same size, and the same pixels when read back.
void TestPictureWriter::bitmap()
{
    QFETCH(QSize, size);

    const QImage image = pattern(size);
    const QByteArray bytes = PictureWriter::encode(image, "bmp");
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(le32(bytes, 2), quint32(bytes.size()));
    QCOMPARE(qint32(le32(bytes, 18)), size.width());
    QCOMPARE(qint32(le32(bytes, 22)), size.height());
    const quint16 bits = le16(bytes, 28);
    QVERIFY2(bits == 24 || bits == 32, qPrintable(QString::number(bits)));
    const quint32 rowBytes = (size.width() * bits / 8 + 3) & ~3u;
    QCOMPARE(quint32(bytes.size()), le32(bytes, 10) + rowBytes * size.height());
    QVERIFY(samePixels(QImage::fromData(bytes, "BMP"), image));
}

void TestPictureWriter::png()
{
    const QImage image = pattern({493, 397});
    const QByteArray bytes = PictureWriter::encode(image, "png");
    QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
    QVERIFY(samePixels(QImage::fromData(bytes, "PNG"), image));
}

void TestPictureWriter::saveRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("bmp") << "zelbrook.bmp" << QByteArray("bmp");
    QTest::newRow("bitmap whatever the extension") << "picture.png" << QByteArray("bmp");
    QTest::newRow("png") << "picture.png" << QByteArray("png");
}

void TestPictureWriter::saveRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QImage image = pattern({40, 30});
    QCOMPARE(PictureWriter::save(image, path, format.constData()), std::nullopt);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes, PictureWriter::encode(image, format.constData()));
    QVERIFY(samePixels(QImage::fromData(bytes, format.constData()), image));
}

void TestPictureWriter::failures_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("encodes");
    QTest::addColumn<QString>("words");

    QTest::newRow("no picture") << QImage() << QByteArray("bmp") << "a.bmp" << false << "BMP";
    QTest::newRow("unknown format") << pattern({4, 4}) << QByteArray("nope") << "a.bmp" << false << "NOPE";
    QTest::newRow("missing folder") << pattern({4, 4}) << QByteArray("bmp") << "missing/a.bmp" << true
                                    << "folder";
}

// A failed save leaves the file that was there as it was.
void TestPictureWriter::failures()
{
    QFETCH(QImage, image);
    QFETCH(QByteArray, format);
    QFETCH(QString, target);
    QFETCH(bool, encodes);
    QFETCH(QString, words);

    QTemporaryDir dir;
    QFile old(dir.filePath("a.bmp"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old picture");
    old.close();
    QCOMPARE(!PictureWriter::encode(image, format.constData()).isEmpty(), encodes);
    const std::optional<QString> failure = PictureWriter::save(image, dir.filePath(target), format.constData());
    QVERIFY(failure.has_value());
    QVERIFY2(failure->contains(words), qPrintable(*failure));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old picture"));
}

QTEST_GUILESS_MAIN(TestPictureWriter)
#include "tst_picture_writer.moc"
