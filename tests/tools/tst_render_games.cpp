// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "test_support.h"
#include "tools/render_process.h"

#include <QTest>

using namespace zelbrook;

namespace {

// The largest difference in any channel between the white picture and the
// transparent one laid over white.
int overWhiteDifference(const QImage &white, const QImage &transparent)
{
    const QImage a = white.convertToFormat(QImage::Format_RGB32);
    const QImage b = transparent.convertToFormat(QImage::Format_ARGB32);
    int worst = a.size() == b.size() ? 0 : 256;
    for (int y = 0; worst < 256 && y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = b.pixel(x, y);
            const auto over = [&](int c) { return (c * qAlpha(p) + 255 * (255 - qAlpha(p)) + 127) / 255; };
            const QRgb w = a.pixel(x, y);
            worst = std::max({worst, std::abs(over(qRed(p)) - qRed(w)), std::abs(over(qGreen(p)) - qGreen(w)),
                              std::abs(over(qBlue(p)) - qBlue(w))});
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
        QTest::newRow("sheet of a large head") << QStringList{"--format", "sheet", "--scale", "3", "walk.zba"};
    }

    // Laid over white, the transparent picture is the white one within a
    // level a channel, credit line included; its corner is see-through.
    void transparentOverWhite()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(render(arguments + QStringList{"white.png"}).exitCode, 0);
        QCOMPARE(render(arguments + QStringList{"--transparent", "clear.png"}).exitCode, 0);
        const QImage clear(m_dir.path("clear.png"));
        QVERIFY(clear.hasAlphaChannel());
        QCOMPARE(qAlpha(clear.pixel(0, 0)), 0);
        QVERIFY(overWhiteDifference(QImage(m_dir.path("white.png")), clear) <= 1);
    }

    void svgWithoutBackground_data()
    {
        QTest::addColumn<QStringList>("arguments");

        QTest::newRow("start-up pose") << QStringList{"--default"};
        QTest::newRow("a key of two colours") << QStringList{"--key", "2", "walk.zba"};
    }

    // A transparent SVG is the white one without its white rectangle.
    void svgWithoutBackground()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(render(arguments + QStringList{"white.svg"}).exitCode, 0);
        QCOMPARE(render(arguments + QStringList{"--transparent", "clear.svg"}).exitCode, 0);
        const QByteArray rectangle = "<rect width=\"500\" height=\"400\" fill=\"#ffffff\"/>\n";
        QByteArray white = test::fileBytes(m_dir.path("white.svg"));
        QVERIFY(white.contains(rectangle));
        QCOMPARE(test::fileBytes(m_dir.path("clear.svg")), white.replace(rectangle, ""));
    }
};

QTEST_MAIN(TestRenderGames)
#include "tst_render_games.moc"
