// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"
#include "export/sprite_sheet_encoder.h"

#include <QTest>

#include <algorithm>

using namespace zelbrook;

class TestSpriteSheetEncoder : public QObject
{
    Q_OBJECT

private slots:
    void grid_data()
    {
        QTest::addColumn<int>("frameCount");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QSize>("cells");
        QTest::addColumn<int>("padding");
        QTest::addColumn<int>("extrude");

        QTest::newRow("5 frames, 3 by 2") << 5 << 0 << QSize(3, 2) << 0 << 0;
        QTest::newRow("4 frames, 2 by 2") << 4 << 0 << QSize(2, 2) << 0 << 0;
        QTest::newRow("5 frames in 2 columns") << 5 << 2 << QSize(2, 3) << 0 << 0;
        QTest::newRow("3 frames in 5 columns, one row of 3") << 3 << 5 << QSize(3, 1) << 0 << 0;
        QTest::newRow("5 frames, padding 3, extruded 2") << 5 << 0 << QSize(3, 2) << 3 << 2;
        QTest::newRow("3 frames in 1 column, padding 64, extruded 8") << 3 << 1 << QSize(1, 3) << 64 << 8;
        QTest::newRow("2 frames, extruded 1, no padding") << 2 << 0 << QSize(2, 1) << 0 << 1;
    }

    // Frames row by row from the top left, every cell after them white;
    // each cell's edge pixels repeated outward `extrude` times, and
    // `padding` white pixels between the grown cells, none after the last.
    void grid()
    {
        QFETCH(int, frameCount);
        QFETCH(int, columns);
        QFETCH(QSize, cells);
        QFETCH(int, padding);
        QFETCH(int, extrude);
        const QList<QImage> frames = test::walkingFrames(frameCount);
        QByteArray bytes;
        SpriteSheetEncoder encoder({12, true, size_t(frameCount)}, test::appendTo(bytes),
                                   SheetLayout{columns, padding, extrude});
        QVERIFY(test::encodeAll(encoder, frames).ok());
        const QImage sheet = QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32);
        const QSize size = frames[0].size();
        const QSize slot(size.width() + 2 * extrude + padding, size.height() + 2 * extrude + padding);
        QCOMPARE(sheet.size(), QSize(cells.width() * slot.width() - padding, cells.height() * slot.height() - padding));
        for (int y = 0; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                const int cell = y / slot.height() * cells.width() + x / slot.width();
                const QPoint in(x % slot.width() - extrude, y % slot.height() - extrude);
                const bool padded = in.x() >= size.width() + extrude || in.y() >= size.height() + extrude;
                const QRgb expected = padded || cell >= frameCount
                                          ? 0xFFFFFFFFu
                                          : frames[cell].pixel(std::clamp(in.x(), 0, size.width() - 1),
                                                               std::clamp(in.y(), 0, size.height() - 1));
                if (sheet.pixel(x, y) != expected)
                    QFAIL(qPrintable(QString("pixel (%1, %2)").arg(x).arg(y)));
            }
        }
    }

    void colours_data()
    {
        QTest::addColumn<QList<QImage>>("frames"); // two, side by side
        QTest::addColumn<int>("type");             // of the header: 0 grey, 2 truecolour, 3 palette

        QTest::newRow("a grey walk") << test::walkingFrames(2) << 0;
        QTest::newRow("red and blue figures, grey text")
            << QList<QImage>{test::twoFigureFrame(0), test::twoFigureFrame(5)} << 3;
        QTest::newRow("transparent, pixels at alpha 100 and 200")
            << QList<QImage>{test::clearFrame(2), test::clearFrame(20)} << 3;
        QTest::newRow("268 colours") << QList<QImage>{test::manyColourFrame(60, 207), test::manyColourFrame(48, 207)}
                                     << 2;
    }

    // The sheet is stored in the smallest type that holds its colours, and
    // both cells read back exactly, with their alpha, by Qt's PNG reader.
    void colours()
    {
        QFETCH(QList<QImage>, frames);
        QFETCH(int, type);
        QByteArray bytes;
        SpriteSheetEncoder encoder({12, true, 2}, test::appendTo(bytes), SheetLayout{2});
        QVERIFY(test::encodeAll(encoder, frames).ok());
        QCOMPARE(int(bytes[25]), type);
        const QImage sheet = test::withAlpha(QImage::fromData(bytes, "PNG"));
        QCOMPARE(sheet.copy(frames[0].rect()), test::withAlpha(frames[0]));
        QCOMPARE(sheet.copy(frames[1].rect().translated(frames[0].width(), 0)), test::withAlpha(frames[1]));
    }

    void size_data()
    {
        QTest::addColumn<int>("frameCount");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("padding"); // and extruded an eighth of it

        QTest::newRow("33 by 33 frames, 16269 by 13101") << 1089 << 0 << true << 0;
        QTest::newRow("34 columns, 16762 across") << 1090 << 0 << false << 0;
        QTest::newRow("41 rows, 16277 down") << 41 << 1 << true << 0;
        QTest::newRow("42 rows, 16674 down") << 42 << 1 << false << 0;
        QTest::newRow("5 frames in 100 columns, 2465 across") << 5 << 100 << true << 0;
        QTest::newRow("41 rows padded 1, 16317 down") << 41 << 1 << true << 1;
        QTest::newRow("41 rows padded 8 and extruded 1, 16679 down") << 41 << 1 << false << 8;
    }

    // No side of more than 16384 pixels, told before any frame is drawn.
    void size()
    {
        QFETCH(int, frameCount);
        QFETCH(int, columns);
        QFETCH(bool, fits);
        QFETCH(int, padding);
        QCOMPARE(SheetLayout({columns, padding, padding / 8}).checkSize(QSize(493, 397), size_t(frameCount)).ok(),
                 fits);
    }
};

QTEST_MAIN(TestSpriteSheetEncoder)
#include "tst_sprite_sheet_encoder.moc"
