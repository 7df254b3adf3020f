// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_canvas.h"
#include "render/draw_scene.h"

#include <QPointF>
#include <QTest>

#include <numbers>

using namespace zelbrook;

namespace {

constexpr double kQuarter = std::numbers::pi / 2;

// Hip at (x, 200), the body straight up 50 long, the right upper arm 30 long
// at `arm` from the body, the forearm 20 long in line with it.
Figure armPose(float x, double arm)
{
    Pose pose{};
    pose.hipX = x;
    pose.hipY = 200;
    pose.bodyLength = 50;
    pose.bodyAngle = kQuarter;
    pose.armLength1 = 30;
    pose.armLength2 = 20;
    pose.rArmAngle1 = arm;
    pose.scale = 1;
    return Figure{pose};
}

} // namespace

class TestMotionPath : public QObject
{
    Q_OBJECT

private slots:
    // Keys are 'K' and in-betweens '.', joined dots '+'; the points are
    // worked out by hand from the lengths and directions.
    void dotsStandWhereEachFrameHasTheJoint_data()
    {
        QTest::addColumn<QList<Key>>("keys");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("joint");
        QTest::addColumn<QList<QPointF>>("points");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QString>("joins");
        QTest::addColumn<bool>("closed");
        const Key a(armPose(100, 0), 3, 3), b(armPose(200, 0));
        const auto hip = int(Joint::Hip), hand = int(Joint::RHand);
        QTest::newRow("hip, linear, hold once")
            << QList<Key>{a, b} << false << hip
            << QList<QPointF>{{100, 200}, {125, 200}, {150, 200}, {175, 200}, {200, 200}} << "K...K"
            << "-++++" << false;
        QTest::newRow("hip, smooth")
            << QList<Key>{Key(armPose(100, 0), 1, 3, Ease::Smooth), b} << false << hip
            << QList<QPointF>{{100, 200}, {115.625, 200}, {150, 200}, {184.375, 200}, {200, 200}} << "K...K"
            << "-++++" << false;
        QTest::newRow("looping back") << QList<Key>{Key(armPose(100, 0), 1, 1), Key(armPose(200, 0), 2, 1)} << true
                                      << hip << QList<QPointF>{{100, 200}, {150, 200}, {200, 200}, {150, 200}} << "K.K."
                                      << "-+++" << true;
        QTest::newRow("right hand turning up")
            << QList<Key>{Key(armPose(100, -kQuarter), 1, 1), Key(armPose(100, 0))} << false << hand
            << QList<QPointF>{{150, 160}, {135.3553, 124.6447}, {100, 110}} << "K.K"
            << "-++" << false;
        const Key bare({{kFirstFigureId + 1, armPose(300, 0)}});
        QTest::newRow("absent from a key")
            << QList<Key>{a, bare, b} << true << hip << QList<QPointF>{{100, 200}, {200, 200}} << "KK"
            << "--" << true;
    }

    void dotsStandWhereEachFrameHasTheJoint()
    {
        QFETCH(QList<Key>, keys);
        QFETCH(bool, loop);
        QFETCH(int, joint);
        QFETCH(QList<QPointF>, points);
        QFETCH(QString, kinds);
        QFETCH(QString, joins);
        const Animation animation(Playback{12, loop}, std::vector<Key>(keys.begin(), keys.end()));
        const MotionPath path = traceMotionPath(animation, kFirstFigureId, Joint(joint));
        QCOMPARE(path.dots.size(), std::size_t(points.size()));
        for (qsizetype i = 0; i < points.size(); ++i) {
            const PathDot &dot = path.dots[std::size_t(i)];
            QVERIFY2(qAbs(dot.at.x - points[i].x()) < 1e-4 && qAbs(dot.at.y - points[i].y()) < 1e-4,
                     qPrintable(QStringLiteral("dot %1 at %2,%3").arg(i).arg(dot.at.x).arg(dot.at.y)));
            QCOMPARE(dot.key, kinds[i] == 'K');
            QCOMPARE(dot.joined, joins[i] == '+');
        }
        QTEST(path.closed, "closed");
    }

    // Over the figure and under the credit line: one-pixel lines, then
    // three-pixel in-between dots and seven-pixel key dots, all green.
    void thePathIsDrawnOverTheFigures_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("lines");
        QTest::newRow("open") << false << 4;
        QTest::newRow("looping") << true << 6;
    }

    void thePathIsDrawnOverTheFigures()
    {
        QFETCH(bool, loop);
        QFETCH(int, lines);
        const Animation animation(Playback{12, loop}, {Key(armPose(100, 0), 1, 3), Key(armPose(200, 0), 1, 1)});
        const MotionPath path = traceMotionPath(animation, kFirstFigureId, Joint::Hip);
        const std::vector<SceneFigure> scene = animation.sceneAt({0, 0, 0});
        RecordingCanvas canvas;
        drawScene(scene, {}, canvas, "Zelbrook", ScreenAids{std::nullopt, Sides::Alike, &path});
        const std::size_t first = 1 + 9 + 362;
        QString pens;
        for (auto i = first; i < canvas.calls.size() && canvas.calls[i].color == kMotionPathColor; ++i)
            pens += QString::number(canvas.calls[i].penWidth);
        QCOMPARE(pens, QString(lines, '1') + QString(loop ? 4 : 3, '3') + QString(2, '7'));
        QCOMPARE(canvas.calls.back().op, RecordingCanvas::Op::Print);
        QCOMPARE(canvas.calls.back().penWidth, 2);
    }

    // The left upper and lower leg and arm (calls 2, 4, 6 and 8) a little
    // more than halfway to white; the rest and the head as ever.
    void sidesLightenTheLeftLimbs_data()
    {
        QTest::addColumn<Color>("color");
        QTest::addColumn<Color>("ghost");
        QTest::addColumn<Color>("lighter");
        QTest::addColumn<Color>("lighterGhost");
        QTest::newRow("black") << kBlack << Color(0x8080FF) << Color(0x8C8C8C) << Color(0xC5C5FF);
        QTest::newRow("red") << Color(0xFF0000) << Color(0xFF8080) << Color(0xFF8C8C) << Color(0xFFC5C5);
    }

    void sidesLightenTheLeftLimbs()
    {
        QFETCH(Color, color);
        QFETCH(Color, ghost);
        QFETCH(Color, lighter);
        QFETCH(Color, lighterGhost);
        const Figure figure{test::startPose()};
        const SceneFigure one{kFirstFigureId, "Figure 1", color, figure};
        const Ghost ghosts[] = {{&figure, ghost}};
        RecordingCanvas canvas;
        drawScene(std::span(&one, 1), ghosts, canvas, "Zelbrook", ScreenAids{std::nullopt, Sides::LeftLighter});
        const std::optional<Color> own = color == kBlack ? std::nullopt : std::optional(color);
        for (const int at : {1, 1 + 9 + 362}) {
            const bool isGhost = at == 1;
            const Color left = isGhost ? lighterGhost : lighter;
            const std::optional<Color> arm = isGhost ? std::optional(ghost) : own;
            const std::optional<Color> body = isGhost ? ghost : own.value_or(kBlack);
            const std::optional<Color> expected[] = {body, left, body, left, body, left, arm, left, arm};
            for (int i = 0; i < 9; ++i)
                QCOMPARE(canvas.calls[std::size_t(at + i)].color, expected[i]);
            QCOMPARE(canvas.calls[std::size_t(at + 9)].color, arm);
        }
    }
};

QTEST_APPLESS_MAIN(TestMotionPath)
#include "tst_motion_path.moc"
