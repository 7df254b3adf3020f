// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/limb_solve.h"

#include "test_support.h"

#include <QPointF>
#include <QTest>

#include <numbers>

using namespace zelbrook;

namespace {

// A figure whose hip is at (250, 200), level and unturned, its body exactly
// upright, so that every bend and end below is worked out on paper: the
// thigh and shin 30 and 40 long make a right angle at the knee for a foot 50
// away (a 3-4-5 triangle, the knee 0.6 and 0.8 of the thigh across and
// down), and the arms are the same at twice the size.
Pose paperPose(double length1, double length2)
{
    Pose pose = test::startPose();
    pose.hipX = 250;
    pose.hipY = 200;
    pose.rotation = 0;
    pose.scale = 1;
    pose.bodyAngle = std::numbers::pi / 2;
    pose.legLength1 = length1;
    pose.legLength2 = length2;
    pose.rLegAngle1 = 0;
    pose.rLegAngle2 = 0;
    return pose;
}

constexpr int kTowardsRight = 2;
constexpr int kTowardsLeft = -2;

} // namespace

class TestLimbSolve : public QObject
{
    Q_OBJECT

private slots:
    void reachesInClosedForm_data();
    void reachesInClosedForm();
};

void TestLimbSolve::reachesInClosedForm_data()
{
    QTest::addColumn<int>("limb");
    QTest::addColumn<double>("length1");
    QTest::addColumn<double>("length2");
    QTest::addColumn<QPointF>("target");
    // 1 and -1 a bend counter-clockwise or clockwise; 2 and -2 the bend of
    // a straight limb for a figure facing right or left.
    QTest::addColumn<int>("side");
    QTest::addColumn<QPointF>("bend");
    QTest::addColumn<QPointF>("end");
    const int foot = int(Limb::RFoot);
    QTest::newRow("reachable, counter-clockwise")
        << foot << 30.0 << 40.0 << QPointF(300, 200) << 1 << QPointF(268, 224) << QPointF(300, 200);
    QTest::newRow("reachable, clockwise")
        << foot << 30.0 << 40.0 << QPointF(300, 200) << -1 << QPointF(268, 176) << QPointF(300, 200);
    QTest::newRow("out of reach") << foot << 30.0 << 40.0 << QPointF(350, 200) << 1 << QPointF(280, 200)
                                  << QPointF(320, 200);
    QTest::newRow("nearer than the difference")
        << foot << 30.0 << 40.0 << QPointF(255, 200) << 1 << QPointF(220, 200) << QPointF(260, 200);
    QTest::newRow("thigh longer, too near")
        << foot << 40.0 << 30.0 << QPointF(245, 200) << 1 << QPointF(210, 200) << QPointF(240, 200);
    QTest::newRow("full stretch") << foot << 30.0 << 40.0 << QPointF(250, 270) << 1 << QPointF(250, 230)
                                  << QPointF(250, 270);
    QTest::newRow("straight, facing right") << foot << 30.0 << 40.0 << QPointF(250, 260) << kTowardsRight
                                            << QPointF(267.7756075, 224.1666667) << QPointF(250, 260);
    QTest::newRow("straight, facing left") << foot << 30.0 << 40.0 << QPointF(250, 260) << kTowardsLeft
                                           << QPointF(232.2243925, 224.1666667) << QPointF(250, 260);
    QTest::newRow("equal lengths, pin at the hip")
        << foot << 30.0 << 30.0 << QPointF(250, 200) << 1 << QPointF(280, 200) << QPointF(250, 200);
    // The shoulder is 0.8 of a body of 25 at twice the size above the hip.
    QTest::newRow("arm at twice the size")
        << int(Limb::LHand) << 15.0 << 20.0 << QPointF(300, 160) << 1 << QPointF(268, 184) << QPointF(300, 160);
    QTest::newRow("arm reaching up, facing right")
        << int(Limb::RHand) << 15.0 << 20.0 << QPointF(250, 100) << kTowardsRight << QPointF(267.7756075, 135.8333333)
        << QPointF(250, 100);
}

void TestLimbSolve::reachesInClosedForm()
{
    QFETCH(int, limb);
    QFETCH(double, length1);
    QFETCH(double, length2);
    QFETCH(QPointF, target);
    QFETCH(int, side);
    QFETCH(QPointF, bend);
    QFETCH(QPointF, end);
    const auto which = static_cast<Limb>(limb);
    Pose pose = paperPose(length1, length2);
    if (isArm(which)) {
        pose.armLength1 = length1;
        pose.armLength2 = length2;
        pose.bodyLength = 25;
        pose.scale = 2;
    }
    const Point to{target.x(), target.y()};
    const Bend chosen = std::abs(side) == 2 ? bendTowards(side > 0 ? Facing::Right : Facing::Left, pose, which, to)
                                            : static_cast<Bend>(side);
    Pose solved = pose;
    solveLimb(solved, which, to, chosen);
    const LimbJoints joints = limbJoints(solved, which);
    QVERIFY2(std::hypot(joints.bend.x - bend.x(), joints.bend.y - bend.y()) < 1e-6,
             qPrintable(QString("bend at %1, %2").arg(joints.bend.x, 0, 'f', 7).arg(joints.bend.y, 0, 'f', 7)));
    QVERIFY2(std::hypot(joints.end.x - end.x(), joints.end.y - end.y()) < 1e-6,
             qPrintable(QString("end at %1, %2").arg(joints.end.x, 0, 'f', 7).arg(joints.end.y, 0, 'f', 7)));
    // The angles stay where a slider can show them, and nothing else moves.
    const LimbMembers members = limbMembers(which);
    const double first = solved.*members.angle1 * (which == Limb::RHand ? -DEG_PER_RAD : DEG_PER_RAD);
    QVERIFY2(first > -0.5 && first < 360.5, qPrintable(QString::number(first)));
    QVERIFY(std::abs(solved.*members.angle2 * DEG_PER_RAD) < 180.5);
    solved.*members.angle1 = pose.*members.angle1;
    solved.*members.angle2 = pose.*members.angle2;
    QCOMPARE(solved, pose);
}

QTEST_GUILESS_MAIN(TestLimbSolve)
#include "tst_limb_solve.moc"
