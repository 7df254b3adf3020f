// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelbrook;

class TestPictureWriter : public QObject
{
    Q_OBJECT

private slots:
    void save_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("magic"); // empty when the format cannot be written

        QTest::newRow("bitmap with padded rows") << QByteArray("bmp") << QByteArray("BM");
        QTest::newRow("png") << QByteArray("png") << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow("unknown format") << QByteArray("nope") << QByteArray();
    }

    // The file holds the same pixels when read back; a failed save names the
    // format and leaves the file that was there as it was.
    void save()
    {
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, magic);

        // Every pixel differs from its neighbours, so a shifted row or a
        // swapped channel shows.
        QImage image(3, 2, QImage::Format_RGB32);
        for (int i = 0; i < 6; ++i)
            image.setPixel(i % 3, i / 3, qRgb(40 * i, 255 - 30 * i, 7 * i));
        QTemporaryDir dir;
        QFile file(dir.filePath("picture"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old picture") == 11);
        file.close();
        const Status saved = PictureWriter::save(image, file.fileName(), format.constData());
        const QString failure = saved.ok() ? QString() : QString::fromStdString(saved.error().message);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (magic.isEmpty()) {
            QVERIFY2(!saved.ok() && failure.contains(format.toUpper()), qPrintable(failure));
            QCOMPARE(bytes, QByteArray("old picture"));
            return;
        }
        QVERIFY2(saved.ok(), qPrintable(failure));
        QVERIFY(bytes.startsWith(magic));
        QCOMPARE(QImage::fromData(bytes, format.constData()).convertToFormat(QImage::Format_RGB32), image);
    }
};

QTEST_GUILESS_MAIN(TestPictureWriter)
#include "tst_picture_writer.moc"
