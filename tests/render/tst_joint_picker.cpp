// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "render/joint_picker.h"
#include "test_support.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::Point)
Q_DECLARE_METATYPE(zelbrook::Joint)

namespace {

using test::kCanvasWidth;

// The start-up figure, changed as the name of the row says.
Pose variant(const QString &name)
{
    Pose pose = Pose::defaults(kCanvasWidth);
    if (name == QLatin1String("turned")) {
        pose.scale = 2;
        pose.rotation = 90 / 57.3;
    } else if (name == QLatin1String("hand on elbow")) {
        pose.armLength2 = 0;
    } else if (name == QLatin1String("foot on knee")) {
        pose.legLength2 = 0;
    } else if (name == QLatin1String("knee on neck")) {
        pose.lLegAngle1 = pose.bodyAngle;
        pose.legLength1 = pose.bodyLength;
    } else if (name == QLatin1String("neck on hip")) {
        pose.bodyLength = 0;
    }
    return pose;
}

// A joint of the figure by name, or the head centre, worked out from the
// geometry on its own.
Point named(const Pose &pose, const QString &name)
{
    const Joints j = ComputeJoints(pose);
    const std::pair<const char *, Point> points[] = {
        {"hip", {pose.hipX, pose.hipY}},
        {"neck", j.neck},
        {"head", j.headCentre},
        {"lKnee", j.lKnee},
        {"lFoot", j.lFoot},
        {"rKnee", j.rKnee},
        {"rFoot", j.rFoot},
        {"shoulder", j.shoulder},
        {"lElbow", j.lElbow},
        {"lHand", j.lHand},
        {"rElbow", j.rElbow},
        {"rHand", j.rHand},
    };
    for (const auto &[key, point] : points) {
        if (name == QLatin1String(key))
            return point;
    }
    qFatal("no joint %s", qPrintable(name));
}

// The point turned about a centre by true degrees, counter-clockwise on
// screen.
Point turnedAbout(Point centre, Point p, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    return {centre.x + dx * std::cos(a) + dy * std::sin(a), centre.y - dx * std::sin(a) + dy * std::cos(a)};
}

constexpr int kNone = -1;

} // namespace

class TestJointPicker : public QObject
{
    Q_OBJECT

private slots:
    void pick_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("near");
        QTest::addColumn<Point>("offset"); // canvas units
        QTest::addColumn<int>("expected"); // a Joint, or kNone

        const auto J = [](Joint joint) { return static_cast<int>(joint); };
        QTest::newRow("on the right hand") << ""
                                           << "rHand" << Point{0, 0} << J(Joint::RHand);
        QTest::newRow("5.9 pixels across") << ""
                                           << "rHand" << Point{5.98, 0} << J(Joint::RHand);
        QTest::newRow("6.07 units across is 5.99 pixels") << ""
                                                          << "rHand" << Point{6.07, 0} << J(Joint::RHand);
        QTest::newRow("6.1 units across is 6.01 pixels") << ""
                                                         << "rHand" << Point{6.1, 0} << kNone;
        QTest::newRow("6.04 units down is 5.995 pixels") << ""
                                                         << "rHand" << Point{0, 6.04} << J(Joint::RHand);
        QTest::newRow("6.06 units down is 6.01 pixels") << ""
                                                        << "rHand" << Point{0, 6.06} << kNone;
        QTest::newRow("on the hip, by the left hand") << ""
                                                      << "hip" << Point{0, 0} << J(Joint::Hip);
        QTest::newRow("on the left hand, by the hip") << ""
                                                      << "lHand" << Point{0, 0} << J(Joint::LHand);
        QTest::newRow("right of the hip") << ""
                                          << "hip" << Point{1.6, 0} << J(Joint::Hip);
        QTest::newRow("left knee") << ""
                                   << "lKnee" << Point{3, 3} << J(Joint::LKnee);
        QTest::newRow("right foot") << ""
                                    << "rFoot" << Point{-2, 4} << J(Joint::RFoot);
        QTest::newRow("left elbow") << ""
                                    << "lElbow" << Point{-4, 0} << J(Joint::LElbow);
        QTest::newRow("right elbow") << ""
                                     << "rElbow" << Point{0, -5} << J(Joint::RElbow);
        QTest::newRow("neck, inside the head too") << ""
                                                   << "neck" << Point{0, -2} << J(Joint::Neck);
        QTest::newRow("head centre") << ""
                                     << "head" << Point{0, 0} << J(Joint::Neck);
        QTest::newRow("inside the head across") << ""
                                                << "head" << Point{6.5, 0} << J(Joint::Neck);
        QTest::newRow("outside the head across") << ""
                                                 << "head" << Point{7.5, 0} << kNone;
        QTest::newRow("inside below the crown") << ""
                                                << "head" << Point{0, -9.5} << J(Joint::Neck);
        QTest::newRow("past the crown") << ""
                                        << "head" << Point{0, -10.5} << kNone;
        QTest::newRow("the shoulder is no joint") << ""
                                                  << "shoulder" << Point{0, 0} << kNone;
        QTest::newRow("nowhere") << ""
                                 << "hip" << Point{100, 0} << kNone;
        // Scale 2 and a quarter turn: the head lies left of the neck, 20
        // units along the body and 14 across it.
        QTest::newRow("turned, hand") << "turned"
                                      << "rHand" << Point{1, 1} << J(Joint::RHand);
        QTest::newRow("turned, head along") << "turned"
                                            << "head" << Point{-19, 0} << J(Joint::Neck);
        QTest::newRow("turned, head across") << "turned"
                                             << "head" << Point{0, 13} << J(Joint::Neck);
        QTest::newRow("turned, past the head across") << "turned"
                                                      << "head" << Point{0, 15} << kNone;
        QTest::newRow("hand before elbow") << "hand on elbow"
                                           << "lElbow" << Point{1, 1} << J(Joint::LHand);
        QTest::newRow("foot before knee") << "foot on knee"
                                          << "rKnee" << Point{1, 0} << J(Joint::RFoot);
        QTest::newRow("knee before neck") << "knee on neck"
                                          << "neck" << Point{0.5, 0} << J(Joint::LKnee);
        QTest::newRow("neck before hip") << "neck on hip"
                                         << "hip" << Point{2, 0} << J(Joint::Neck);
    }

    void pick()
    {
        QFETCH(QString, figure);
        QFETCH(QString, near);
        QFETCH(Point, offset);
        QFETCH(int, expected);
        const Pose pose = variant(figure);
        const Point at = named(pose, near);
        const Point press{(at.x + offset.x) * 493 / 500, (at.y + offset.y) * 397 / 400};
        const auto joint = pickJoint(pose, press);
        QCOMPARE(joint ? static_cast<int>(*joint) : kNone, expected);
    }

    // Each joint dragged with the press a little off it, the mouse turned
    // about the joint's pivot by a number of true degrees. A turn of t true
    // degrees is about 1.0000737 t slider degrees.
    void drag_data()
    {
        QTest::addColumn<Joint>("joint");
        QTest::addColumn<QString>("pivot");
        QTest::addColumn<int>("start"); // slider position, or kNone for the start-up pose
        QTest::addColumn<double>("turn");
        QTest::addColumn<int>("expected");

        QTest::newRow("neck") << Joint::Neck << "hip" << kNone << 30.0 << -30;
        QTest::newRow("neck, clockwise") << Joint::Neck << "hip" << kNone << -170.0 << 170;
        QTest::newRow("neck past the end") << Joint::Neck << "hip" << -170 << 30.0 << 160;
        QTest::newRow("left knee") << Joint::LKnee << "hip" << kNone << 30.0 << 296;
        QTest::newRow("right knee") << Joint::RKnee << "hip" << kNone << -30.0 << 265;
        QTest::newRow("right knee past 360") << Joint::RKnee << "hip" << kNone << 70.0 << 5;
        QTest::newRow("left foot") << Joint::LFoot << "lKnee" << kNone << 30.0 << 32;
        QTest::newRow("right foot") << Joint::RFoot << "rKnee" << kNone << 30.0 << 10;
        QTest::newRow("left elbow") << Joint::LElbow << "shoulder" << kNone << 30.0 << 160;
        QTest::newRow("right elbow is mirrored") << Joint::RElbow << "shoulder" << kNone << 30.0 << 100;
        QTest::newRow("right elbow below 0") << Joint::RElbow << "shoulder" << kNone << 140.0 << 350;
        QTest::newRow("left hand") << Joint::LHand << "lElbow" << kNone << 30.0 << 124;
        QTest::newRow("left hand past 180") << Joint::LHand << "lElbow" << kNone << 100.0 << -166;
        QTest::newRow("right hand") << Joint::RHand << "rElbow" << kNone << 30.0 << 60;
        QTest::newRow("no turn") << Joint::RHand << "rElbow" << kNone << 0.0 << 30;
    }

    void drag()
    {
        QFETCH(Joint, joint);
        QFETCH(QString, pivot);
        QFETCH(int, start);
        QFETCH(double, turn);
        QFETCH(int, expected);
        Figure figure{Pose::defaults(kCanvasWidth)};
        figure.pose.scale = 1.7;
        figure.pose.rotation = 25 / 57.3;
        const FieldId field = jointHandle(joint).field;
        if (start != kNone)
            poseField(field).store(figure, static_cast<std::int16_t>(start));

        const Joints joints = ComputeJoints(figure.pose);
        const Point centre = named(figure.pose, pivot);
        const Point press = jointPoint(joint, figure.pose, joints);
        const Point offPress{press.x + 2, press.y - 1};
        const JointDrag drag = startJointDrag(joint, figure, offPress);
        QCOMPARE(drag.pivot, centre);
        const Figure moved = draggedFigure(drag, figure, turnedAbout(centre, offPress, turn));
        QCOMPARE(int(*sliderPositionOf(poseField(field), moved)), expected);

        // The joint now lies in the direction of the mouse from the pivot,
        // up to half a position and the difference of the degree constant.
        const Point now = jointPoint(joint, moved.pose, ComputeJoints(moved.pose));
        const Point wanted = turnedAbout(centre, press, turn);
        const double off = std::remainder(std::atan2(-(now.y - centre.y), now.x - centre.x)
                                              - std::atan2(-(wanted.y - centre.y), wanted.x - centre.x),
                                          2 * std::numbers::pi);
        QVERIFY2(std::abs(off) < 0.5 / 57.3 + 0.0005, qPrintable(QString::number(off)));
    }

    void dragFromThePivotMeasuresFromTheJoint()
    {
        const Figure figure{Pose::defaults(kCanvasWidth)};
        const Joints joints = ComputeJoints(figure.pose);
        const JointDrag drag = startJointDrag(Joint::LHand, figure, joints.lElbow);
        QCOMPARE(drag.press, joints.lHand);
        const Figure moved = draggedFigure(drag, figure, turnedAbout(joints.lElbow, joints.lHand, -50));
        QCOMPARE(int(*sliderPositionOf(poseField(FieldId::LArmAngle2), moved)), 44);
    }

    void dragTheHip()
    {
        const Figure figure{Pose::defaults(kCanvasWidth)};
        const Point press{229, 211};
        const JointDrag drag = startJointDrag(Joint::Hip, figure, press);
        // 227.79167 + 30.4 and 210 - 20.6, each to a whole unit.
        const Figure moved = draggedFigure(drag, figure, {press.x + 30.4, press.y - 20.6});
        QCOMPARE(moved.pose.hipX, 258.0f);
        QCOMPARE(moved.pose.hipY, 189.0);
        QCOMPARE(moved.pose.bodyAngle, figure.pose.bodyAngle);
    }
};

QTEST_APPLESS_MAIN(TestJointPicker)
#include "tst_joint_picker.moc"
