// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"
#include "test_support.h"
#include "tools/render_process.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace zelbrook;

namespace {

// The largest difference in any channel between the white picture and the
// transparent one laid over white.
int overWhiteDifference(const QImage &white, const QImage &transparent)
{
    int worst = 0;
    for (int y = 0; y < white.height(); ++y)
        for (int x = 0; x < white.width(); ++x) {
            const QRgb p = transparent.pixel(x, y), w = white.pixel(x, y);
            const auto over = [&](int c) { return (c * qAlpha(p) + 255 * (255 - qAlpha(p)) + 127) / 255; };
            for (const int shift : {16, 8, 0}) // red, green, blue
                worst = std::max(worst, std::abs(over(int(p >> shift) & 0xFF) - (int(w >> shift) & 0xFF)));
        }
    return worst;
}

} // namespace

class TestRenderGames : public QObject
{
    Q_OBJECT

private:
    test::TemporaryFolder m_dir;

    RenderRun render(QStringList arguments) const { return runRender(m_dir.path(), arguments); }

private slots:
    void initTestCase()
    {
        Key first{Figure{test::startPose()}, 2, 1, Ease::Smooth};
        Key second = first;
        second.figures.front().figure.pose.rArmAngle1 = -1.0;
        const Animation walk(Playback{}, {CastFigure{kFirstFigureId, "Red", 0xC02040}}, {first, second});
        test::writeFile(m_dir.path("walk.zba"), QByteArray::fromStdString(writeAnimationFile(walk)));
    }

    void transparentOverWhite_data()
    {
        QTest::addColumn<QStringList>("arguments");

        QTest::newRow("png of the start-up pose") << QStringList{"--default", "--zoom", "2"};
        QTest::newRow("png of a key in colour") << QStringList{"--key", "2", "walk.zba"};
        QTest::newRow("sheet") << QStringList{"--format", "sheet", "walk.zba"};
    }

    // Laid over white, the transparent picture is the white one within a
    // level a channel, credit line included; its corner is see-through.
    void transparentOverWhite()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(render(arguments + QStringList{"white.png"}).exitCode, 0);
        QCOMPARE(render(arguments + QStringList{"--transparent", "clear.png"}).exitCode, 0);
        const QImage clear(m_dir.path("clear.png"));
        QVERIFY(clear.hasAlphaChannel() && clear.size() == QImage(m_dir.path("white.png")).size());
        QCOMPARE(qAlpha(clear.pixel(0, 0)), 0);
        QVERIFY(overWhiteDifference(QImage(m_dir.path("white.png")), clear) <= 1);
    }

    // A transparent SVG is the white one without its white rectangle.
    void svgWithoutBackground()
    {
        const QByteArray rectangle = "<rect width=\"500\" height=\"400\" fill=\"#ffffff\"/>\n";
        QCOMPARE(render({"--key", "2", "walk.zba", "white.svg"}).exitCode, 0);
        QCOMPARE(render({"--key", "2", "--transparent", "walk.zba", "clear.svg"}).exitCode, 0);
        QByteArray white = test::fileBytes(m_dir.path("white.svg"));
        QVERIFY(white.contains(rectangle));
        QCOMPARE(test::fileBytes(m_dir.path("clear.svg")), white.replace(rectangle, ""));
    }

    void transparentAnimations_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("drawnFrom"); // the least alpha a pixel of the animation shows

        QTest::newRow("gif draws a pixel at least half covered") << "gif" << 128;
        QTest::newRow("apng keeps every level") << "apng" << 1;
    }

    // The first frame of a transparent animation is the transparent picture
    // of its first key, as far as the format holds partial cover.
    void transparentAnimations()
    {
        QFETCH(QString, format);
        QFETCH(int, drawnFrom);
        QCOMPARE(render({"--key", "1", "--transparent", "walk.zba", "key.png"}).exitCode, 0);
        QCOMPARE(render({"--transparent", "--format", format, "walk.zba", "clear.img"}).exitCode, 0);
        const QImage key = QImage(m_dir.path("key.png")).convertToFormat(QImage::Format_ARGB32);
        const QImage first =
            QImage(m_dir.path("clear.img"), format == "gif" ? "gif" : "png").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(first.size(), key.size());
        for (int y = 0; y < key.height(); ++y)
            for (int x = 0; x < key.width(); ++x) {
                const QRgb k = key.pixel(x, y);
                const QRgb expected = qAlpha(k) < drawnFrom ? 0u : drawnFrom > 1 ? (k | 0xFF000000u) : k;
                if (qAlpha(expected) == 0 ? qAlpha(first.pixel(x, y)) != 0 : first.pixel(x, y) != expected)
                    QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
            }
    }

    // Many files at once: an animation's numbered frames share the one
    // trimmed rectangle of a trimmed sheet's cells, and the atlas lies
    // beside the sheet in the output folder.
    void trimAndAtlasInAFolder()
    {
        QCOMPARE(render({"--format", "sheet", "--trim", "--columns", "1", "walk.zba", "one.png"}).exitCode, 0);
        const QImage sheet(m_dir.path("one.png"));
        QVERIFY(QDir().mkpath(m_dir.path("frames")) && QDir().mkpath(m_dir.path("sheets")));
        QCOMPARE(render({"--output-dir", "frames", "--format", "png", "--trim", "walk.zba"}).exitCode, 0);
        const QStringList frames = QDir(m_dir.path("frames")).entryList(QDir::Files);
        QVERIFY(frames.size() > 1);
        for (const QString &frame : frames)
            QCOMPARE(QImage(m_dir.path("frames/") + frame).size(),
                     QSize(sheet.width(), sheet.height() / int(frames.size())));
        QCOMPARE(render({"--output-dir", "sheets", "--format", "sheet", "--atlas", "walk.zba"}).exitCode, 0);
        QVERIFY(QFile::exists(m_dir.path("sheets/walk.json")) && QFile::exists(m_dir.path("sheets/walk.png")));
    }
};

QTEST_MAIN(TestRenderGames)
#include "tst_render_games.moc"
