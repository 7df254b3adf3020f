// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"
#include "render/head_outline.h"
#include "render/joints.h"

#include "test_support.h"

#include <QTest>

#include <cmath>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::Point)

using test::kCanvasWidth;

namespace {

Pose defaultPose() { return Pose::defaults(kCanvasWidth); }

Point relativeToHip(const Pose &pose, Point p) { return {p.x - pose.hipX, p.y - pose.hipY}; }

bool nearTo4Decimals(Point actual, Point expected)
{
    return std::abs(actual.x - expected.x) < 0.00005 && std::abs(actual.y - expected.y) < 0.00005;
}

QString describe(Point p) { return QStringLiteral("(%1, %2)").arg(p.x, 0, 'f', 6).arg(p.y, 0, 'f', 6); }

// Turns an offset from the hip a quarter turn counter-clockwise on screen
// (y grows downward).
Point quarterTurn(Point offset) { return {offset.y, -offset.x}; }

std::vector<Point> everyPoint(const Pose &pose)
{
    const Joints j = ComputeJoints(pose);
    std::vector<Point> points{j.neck,     j.headCentre, j.lKnee, j.lFoot,  j.rKnee, j.rFoot,
                              j.shoulder, j.lElbow,     j.lHand, j.rElbow, j.rHand};
    for (const HeadPair &pair : ComputeHeadOutline(pose, j.headCentre)) {
        points.push_back(pair.first);
        points.push_back(pair.opposite);
    }
    return points;
}

} // namespace

class TestGeometry : public QObject
{
    Q_OBJECT

private slots:
    void defaultJoints_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<Point>("expected");

        const Point expected[] = {{0.0040, -35.0000}, {0.0052, -45.0000},  {-1.9627, 27.9311}, {-2.7733, 50.9168},
                                  {11.8237, 25.3811}, {13.8202, 48.2943},  {0.0032, -28.0000}, {-15.3213, -15.1486},
                                  {-1.4339, -0.7562}, {15.3248, -15.1450}, {35.0210, -11.6723}};
        const char *names[] = {"neck",     "headCentre", "lKnee", "lFoot",  "rKnee", "rFoot",
                               "shoulder", "lElbow",     "lHand", "rElbow", "rHand"};
        for (int i = 0; i < 11; ++i)
            QTest::newRow(names[i]) << i << expected[i];
    }

    void defaultJoints()
    {
        QFETCH(int, index);
        QFETCH(Point, expected);
        const Pose pose = defaultPose();
        const Joints joints = ComputeJoints(pose);
        static constexpr Point Joints::*kMembers[] = {
            &Joints::neck,     &Joints::headCentre, &Joints::lKnee, &Joints::lFoot,  &Joints::rKnee, &Joints::rFoot,
            &Joints::shoulder, &Joints::lElbow,     &Joints::lHand, &Joints::rElbow, &Joints::rHand};
        const Point actual = relativeToHip(pose, joints.*kMembers[index]);
        QVERIFY2(nearTo4Decimals(actual, expected), qPrintable(describe(actual)));
    }

    void defaultHead_data()
    {
        QTest::addColumn<int>("t");
        QTest::addColumn<Point>("first");
        QTest::addColumn<Point>("opposite");

        QTest::newRow("crown and neck") << 0 << Point{0.0064, -55.0000} << Point{0.0040, -35.0000};
        QTest::newRow("cosine near zero") << 90 << Point{7.0052, -45.0003} << Point{-6.9948, -44.9997};
        QTest::newRow("past the cross axis") << 91 << Point{-6.9937, -45.1742} << Point{7.0041, -44.8258};
        QTest::newRow("back at the crown") << 180 << Point{0.0047, -55.0000} << Point{0.0057, -35.0000};
    }

    void defaultHead()
    {
        QFETCH(int, t);
        QFETCH(Point, first);
        QFETCH(Point, opposite);
        const Pose pose = defaultPose();
        const HeadOutline head = ComputeHeadOutline(pose, ComputeJoints(pose).headCentre);
        QVERIFY2(nearTo4Decimals(relativeToHip(pose, head[t].first), first),
                 qPrintable(describe(relativeToHip(pose, head[t].first))));
        QVERIFY2(nearTo4Decimals(relativeToHip(pose, head[t].opposite), opposite),
                 qPrintable(describe(relativeToHip(pose, head[t].opposite))));
    }

    void neckLiesOnTheHeadOutline()
    {
        const Pose pose = defaultPose();
        const Joints joints = ComputeJoints(pose);
        QVERIFY(nearTo4Decimals(ComputeHeadOutline(pose, joints.headCentre)[0].opposite, joints.neck));
    }

    void scaleDoublesEveryOffset()
    {
        const Pose pose = defaultPose();
        Pose doubled = pose;
        doubled.scale = 2;
        const auto before = everyPoint(pose);
        const auto after = everyPoint(doubled);
        for (std::size_t i = 0; i < before.size(); ++i) {
            const Point offset = relativeToHip(pose, before[i]);
            const Point expected{2 * offset.x, 2 * offset.y};
            QVERIFY2(nearTo4Decimals(relativeToHip(pose, after[i]), expected), qPrintable(QString::number(i)));
        }
    }

    void quarterTurnTurnsEveryPoint()
    {
        const Pose pose = defaultPose();
        Pose turned = pose;
        turned.rotation = M_PI / 2;
        const auto before = everyPoint(pose);
        const auto after = everyPoint(turned);
        for (std::size_t i = 0; i < before.size(); ++i) {
            const Point expected = quarterTurn(relativeToHip(pose, before[i]));
            QVERIFY2(nearTo4Decimals(relativeToHip(pose, after[i]), expected),
                     qPrintable(QString::number(i) + describe(relativeToHip(pose, after[i]))));
        }
    }

    void shoulderStaysAtFourFifthsOfTheBody()
    {
        Pose pose = defaultPose();
        pose.headRadius = 100;
        pose.scale = 3;
        const Point shoulder = relativeToHip(pose, ComputeJoints(pose).shoulder);
        QCOMPARE(std::hypot(shoulder.x, shoulder.y), 35 * 3 * 0.8);
    }

    void roundHeadIsACircle()
    {
        Pose pose = defaultPose();
        pose.headWidth = 1;
        pose.scale = 1.5;
        const Point centre = ComputeJoints(pose).headCentre;
        for (const HeadPair &pair : ComputeHeadOutline(pose, centre)) {
            QVERIFY(std::abs(std::hypot(pair.first.x - centre.x, pair.first.y - centre.y) - 15) < 1e-9);
            QVERIFY(std::abs(std::hypot(pair.opposite.x - centre.x, pair.opposite.y - centre.y) - 15) < 1e-9);
        }
    }

    void zeroHeadRadiusStillGivesEveryJoint()
    {
        Pose pose = defaultPose();
        pose.headRadius = 0;
        const Joints joints = ComputeJoints(pose);
        QCOMPARE(joints.headCentre, joints.neck);
        QVERIFY(std::isfinite(joints.rHand.x));
        for (const HeadPair &pair : ComputeHeadOutline(pose, joints.headCentre)) {
            QCOMPARE(pair.first, joints.headCentre);
            QCOMPARE(pair.opposite, joints.headCentre);
        }
    }

    // Moving angles rather than joints keeps every segment its length all
    // the way through a half-turn swing of every limb and of the body.
    void inBetweensKeepSegmentLengths()
    {
        Figure from{test::startPose()};
        Figure to = from;
        for (double Pose::*angle : {&Pose::bodyAngle, &Pose::lLegAngle1, &Pose::rLegAngle1, &Pose::lLegAngle2,
                                    &Pose::lArmAngle1, &Pose::rArmAngle1, &Pose::rArmAngle2, &Pose::rotation})
            to.pose.*angle += 179 / 57.3;
        const auto distance = [](Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); };
        for (int step = 1; step <= 9; ++step) {
            const Pose p = inBetween(from, to, step, 9, Ease::Smooth).pose;
            const Joints j = ComputeJoints(p);
            const Point hip{p.hipX, p.hipY};
            QVERIFY(std::abs(distance(hip, j.neck) - 35) < 1e-9);
            QVERIFY(std::abs(distance(hip, j.lKnee) - 28) < 1e-9);
            QVERIFY(std::abs(distance(j.rKnee, j.rFoot) - 23) < 1e-9);
            QVERIFY(std::abs(distance(j.shoulder, j.lElbow) - 20) < 1e-9);
            QVERIFY(std::abs(distance(j.rElbow, j.rHand) - 20) < 1e-9);
        }
    }
};

QTEST_APPLESS_MAIN(TestGeometry)
#include "tst_geometry.moc"
