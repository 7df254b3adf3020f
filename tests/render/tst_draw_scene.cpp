// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "recording_canvas.h"
#include "render/draw_figure.h"
#include "render/draw_scene.h"

#include <QStringList>
#include <QTest>

#include <numbers>

using namespace zelbrook;

namespace {

// Hip at (x, 200), the body straight up 50 long, the right upper arm 30 long
// at `arm` from the body, the forearm 20 long in line with it.
Key armKey(float x, double arm, int hold = 1, int tweens = 0)
{
    Pose pose{};
    pose.hipX = x;
    pose.hipY = 200;
    pose.bodyLength = 50;
    pose.bodyAngle = std::numbers::pi / 2;
    pose.armLength1 = 30;
    pose.armLength2 = 20;
    pose.rArmAngle1 = arm;
    pose.scale = 1;
    return Key(Figure{pose}, hold, tweens);
}

// Each dot as its kind and place: 'k' a key and '.' an in-between, 'K' and
// '+' where a line leads to it from the dot before, and '~' when a line
// leads from the last back to the first.
QString pathText(const MotionPath &path)
{
    QStringList shown;
    for (const PathDot &dot : path.dots)
        shown << QStringLiteral("%1%2,%3")
                     .arg(QChar(dot.key ? (dot.joined ? 'K' : 'k') : (dot.joined ? '+' : '.')))
                     .arg(QString::number(dot.at.x, 'g', 7), QString::number(dot.at.y, 'g', 7));
    return shown.join(' ') + (path.closed ? " ~" : "");
}

Animation animationOf(const QList<Key> &keys, bool loop)
{
    return Animation(Playback{12, loop}, std::vector<Key>(keys.begin(), keys.end()));
}

} // namespace

class TestDrawScene : public QObject
{
    Q_OBJECT

private slots:
    // One clear, then 9 segments and 362 dots per ghost all in its colour
    // and with its key's pen, then the figure exactly as drawFigure draws it
    // after its clear, with its own pen.
    void ghostsComeUnderTheFigure_data()
    {
        QTest::addColumn<QList<Color>>("colors");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("ghostPen");
        QTest::newRow("no ghost") << QList<Color>{} << 2 << 2;
        QTest::newRow("both keys") << QList<Color>{0xFF8080, 0x8080FF} << 2 << 2;
        QTest::newRow("ghosts with a thinner pen") << QList<Color>{0xFF8080, 0x8080FF} << 5 << 1;
        QTest::newRow("ghost with a thicker pen") << QList<Color>{0x8080FF} << 1 << 7;
    }

    void ghostsComeUnderTheFigure()
    {
        QFETCH(QList<Color>, colors);
        QFETCH(int, pen);
        QFETCH(int, ghostPen);
        const Figure figure{Pose::defaults(test::kCanvasWidth), pen};
        Figure ghostFigure{figure.pose, ghostPen};
        ghostFigure.pose.bodyAngle = 0.5;
        std::vector<Ghost> ghosts;
        for (Color color : colors)
            ghosts.push_back({&ghostFigure, color});
        RecordingCanvas scene, alone;
        drawScene(figure, ghosts, scene, "Zelbrook");
        drawFigure(figure.pose, alone, "Zelbrook");
        QCOMPARE(scene.count(RecordingCanvas::Op::Cls), 1);
        const std::size_t ghostCalls = std::size_t(colors.size()) * (9 + 362);
        QCOMPARE(scene.calls.size(), alone.calls.size() + ghostCalls);
        for (std::size_t i = 1; i <= ghostCalls; ++i) {
            QCOMPARE(scene.calls[i].color, std::optional(colors[qsizetype((i - 1) / (9 + 362))]));
            QCOMPARE(scene.calls[i].penWidth, ghostPen);
        }
        for (std::size_t i = 1; i < alone.calls.size(); ++i) {
            const auto &mine = scene.calls[ghostCalls + i];
            QVERIFY(mine.op == alone.calls[i].op && mine.a == alone.calls[i].a && mine.color == alone.calls[i].color);
            QCOMPARE(mine.penWidth, pen);
        }
    }

    // A red and a blue figure (body 50, arms 30 and 20, legs 0 long) with
    // both ghosts, Sides on: every pixel only a ghost covers is more than 60
    // from each figure's colour and lighter tone on some channel. Dashes
    // start every five pens: at pen 2, 5 on the body, 3 and 2 on each arm, 1
    // on each leg; at pen 7, 2 on the body and 1 on each other segment.
    void ghostsCannotBeTakenForFigures_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("lines");
        QTest::newRow("as the poser shows it, 9 lines a solid ghost") << 1 << 2 << 2 * (19 + 9);
        QTest::newRow("on the stage, thickest pen") << 2 << 7 << 2 * (10 + 9);
    }
    void ghostsCannotBeTakenForFigures()
    {
        QFETCH(int, zoom);
        QFETCH(int, pen);
        const auto posed = [pen](float x, double arm) { return Figure{armKey(x, arm).figures[0].figure.pose, pen}; };
        const Figure before[] = {posed(185, 0.5), posed(285, 0.5)}, after[] = {posed(215, 1.5), posed(315, 1.5)};
        const std::vector<SceneFigure> scene{{1, "", 0xFF0000, posed(200, 1)}, {2, "", 0x0000FF, posed(300, 1)}};
        const std::vector<Ghost> ghosts{previousKeyGhost(before[0]), nextKeyGhost(after[0]),
                                        previousKeyGhost(before[1]), nextKeyGhost(after[1])};
        RasterCanvas withGhosts(zoom), without(zoom);
        RecordingCanvas calls;
        const ScreenAids sides{std::nullopt, Sides::LeftLighter};
        drawScene(scene, ghosts, withGhosts, "Zelbrook", sides);
        drawScene(scene, {}, without, "Zelbrook", sides);
        drawScene(std::span<const SceneFigure>(), ghosts, calls, "Zelbrook", sides);
        QTEST(calls.count(RecordingCanvas::Op::Line), "lines");
        int ghostOnly = 0;
        for (int y = 0; y < without.Image().height(); ++y) {
            for (int x = 0; x < without.Image().width(); ++x) {
                const QRgb shown = withGhosts.Image().pixel(x, y);
                if (without.Image().pixel(x, y) != qRgb(255, 255, 255) || shown == qRgb(255, 255, 255))
                    continue;
                ++ghostOnly;
                for (const QRgb c : {0xFF0000u, 0x0000FFu, lighterTone(0xFF0000), lighterTone(0x0000FF)}) {
                    QVERIFY(std::max({std::abs(qRed(shown) - qRed(c)), std::abs(qGreen(shown) - qGreen(c)),
                                      std::abs(qBlue(shown) - qBlue(c))})
                            > 60);
                }
            }
        }
        QVERIFY(ghostOnly > 300 * zoom);
    }

    // The dots of each frame, as pathText writes them; places worked out by
    // hand.
    void dotsStandWhereEachFrameHasTheJoint_data()
    {
        QTest::addColumn<QList<Key>>("keys");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("joint");
        QTest::addColumn<QString>("path");
        const int hip = int(Joint::Hip);
        QTest::newRow("hip, a hold once") << QList<Key>{armKey(100, 0, 3, 3), armKey(200, 0)} << false << hip
                                          << "k100,200 +125,200 +150,200 +175,200 K200,200";
        QTest::newRow("looping back") << QList<Key>{armKey(100, 0, 1, 1), armKey(200, 0, 2, 1)} << true << hip
                                      << "k100,200 +150,200 K200,200 +150,200 ~";
        QTest::newRow("right hand turning up") << QList<Key>{armKey(100, -std::numbers::pi / 2, 1, 1), armKey(100, 0)}
                                               << false << int(Joint::RHand) << "k150,160 +135.3553,124.6447 K100,110";
        const Key bare({{kFirstFigureId + 1, armKey(300, 0).figures.front().figure}});
        QTest::newRow("absent from a key")
            << QList<Key>{armKey(100, 0, 1, 3), bare, armKey(200, 0)} << true << hip << "k100,200 k200,200 ~";
    }

    void dotsStandWhereEachFrameHasTheJoint()
    {
        QFETCH(QList<Key>, keys);
        QFETCH(bool, loop);
        QFETCH(int, joint);
        QTEST(pathText(traceMotionPath(animationOf(keys, loop), kFirstFigureId, Joint(joint))), "path");
    }

    // A key whose figure moved has the dots from the key before it to the
    // key after it worked out again, as tracing the whole path would; a key
    // that no longer holds the figure leaves the path to be traced whole.
    void aMovedKeyMovesTheDotsAboutIt_data()
    {
        QTest::addColumn<QList<Key>>("before");
        QTest::addColumn<QList<Key>>("after");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("path");
        const QList<Key> three{armKey(100, 0, 1, 1), armKey(200, 0, 1, 1), armKey(300, 0)};
        QTest::newRow("a middle key") << three << QList<Key>{three[0], armKey(260, 0, 1, 1), three[2]} << false << 1
                                      << "k100,200 +180,200 K260,200 +280,200 K300,200";
        const QList<Key> loop{three[0], three[1], armKey(300, 0, 1, 1)};
        QTest::newRow("the first key of a loop") << loop << QList<Key>{armKey(0, 0, 1, 1), loop[1], loop[2]} << true
                                                 << 0 << "k0,200 +100,200 K200,200 +250,200 K300,200 +150,200 ~";
        const Key bare({{kFirstFigureId + 1, armKey(300, 0).figures.front().figure}});
        QTest::newRow("a key without the figure")
            << QList<Key>{three[0], three[1], armKey(300, 0), three[0]}
            << QList<Key>{three[0], three[1], bare, three[0]} << false << 2 << QString();
    }

    void aMovedKeyMovesTheDotsAboutIt()
    {
        QFETCH(QList<Key>, before);
        QFETCH(QList<Key>, after);
        QFETCH(bool, loop);
        QFETCH(int, key);
        QFETCH(QString, path);
        MotionPath kept = traceMotionPath(animationOf(before, loop), kFirstFigureId, Joint::Hip);
        const Animation moved = animationOf(after, loop);
        QCOMPARE(retraceAroundKey(kept, moved, kFirstFigureId, Joint::Hip, std::size_t(key)), !path.isEmpty());
        if (!path.isEmpty()) {
            QCOMPARE(pathText(kept), path);
            QCOMPARE(pathText(kept), pathText(traceMotionPath(moved, kFirstFigureId, Joint::Hip)));
        }
    }
};

QTEST_MAIN(TestDrawScene)
#include "tst_draw_scene.moc"
