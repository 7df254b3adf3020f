// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/joint_drag.h"
#include "model/slider_turns.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::FieldId)
Q_DECLARE_METATYPE(zelbrook::Point)

namespace {

const Point kPivot{100, 100};

// The point at a distance in canvas units from the pivot, in a direction
// given in true degrees counter-clockwise on screen.
Point around(double degrees, double distance)
{
    const double radians = degrees * std::numbers::pi / 180;
    return {kPivot.x + std::cos(radians) * distance, kPivot.y - std::sin(radians) * distance};
}

Point offset(double dx, double dy) { return {kPivot.x + dx, kPivot.y + dy}; }

// A figure whose field holds the given number of its own degrees.
Figure holding(FieldId id, double degrees)
{
    Figure figure{Pose::defaults(455.58333f)};
    poseField(id).assign(figure, degrees / 57.3);
    return figure;
}

constexpr int kStays = -9999;

} // namespace

class TestJointDrag : public QObject
{
    Q_OBJECT

private slots:
    void wholeTurns_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("nearTo");
        QTest::addColumn<int>("expected");

        QTest::newRow("inside") << 50 << 0 << 360 << 50 << 50;
        QTest::newRow("past the top") << 370 << 0 << 360 << 350 << 10;
        QTest::newRow("below the bottom") << -10 << 0 << 360 << 10 << 350;
        QTest::newRow("many turns down") << -1085 << 0 << 360 << 0 << 355;
        QTest::newRow("many turns up") << 725 << -180 << 180 << 0 << 5;
        QTest::newRow("0 near 1") << 0 << 0 << 360 << 1 << 0;
        QTest::newRow("0 near 359") << 0 << 0 << 360 << 359 << 360;
        QTest::newRow("360 near 1") << 360 << 0 << 360 << 1 << 0;
        QTest::newRow("-180 near 179") << -180 << -180 << 180 << 179 << 180;
        QTest::newRow("180 near -179") << 180 << -180 << 180 << -179 << -180;
        QTest::newRow("equal distance takes the lower") << 180 << -180 << 180 << 0 << -180;
        QTest::newRow("no turn fits a length slider") << 200 << 5 << 100 << 50 << kStays;
    }

    void wholeTurns()
    {
        QFETCH(int, position);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, nearTo);
        QFETCH(int, expected);
        const auto wrapped = wrapByWholeTurns(
            position, {static_cast<std::int16_t>(minimum), static_cast<std::int16_t>(maximum)}, nearTo);
        QCOMPARE(wrapped.value_or(kStays), expected);
    }

    // A true turn of t degrees is t * 57.3 / (180 / pi), about 1.0000737 t,
    // in the program's degrees.
    void position_data()
    {
        QTest::addColumn<FieldId>("field");
        QTest::addColumn<double>("degrees"); // the field's own value at the press
        QTest::addColumn<Point>("press");
        QTest::addColumn<Point>("mouse");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("expected");

        const auto F = [](FieldId id) { return id; };
        QTest::newRow("forearm a quarter turn")
            << F(FieldId::LArmAngle2) << 10.0 << around(0, 30) << around(90, 30) << 10 << 100; // 100.0066
        QTest::newRow("body leans right")
            << F(FieldId::BodyAngle) << 90.0 << around(90, 35) << around(0, 35) << 0 << 90; // 90 - (90 - 90.0066)
        QTest::newRow("body leans left") << F(FieldId::BodyAngle) << 90.0 << around(90, 35) << around(135, 35) << 0
                                         << -45;
        QTest::newRow("right upper arm is mirrored")
            << F(FieldId::RArmAngle1) << -130.0 << around(10, 20) << around(100, 20) << 130 << 40; // 130 - 90.0066
        QTest::newRow("thigh past 360") << F(FieldId::LLegAngle1) << 350.0 << around(0, 28) << around(20, 28) << 350
                                        << 10;
        QTest::newRow("thigh below 0") << F(FieldId::RLegAngle1) << 10.0 << around(0, 28) << around(-20, 28) << 10
                                       << 350;
        QTest::newRow("shin past 180") << F(FieldId::LLegAngle2) << 170.0 << around(45, 23) << around(75, 23) << 170
                                       << -160;
        QTest::newRow("to 360 from 359") << F(FieldId::LArmAngle1) << 350.0 << around(0, 20) << around(10, 20) << 359
                                         << 360;
        QTest::newRow("to 0 from 1") << F(FieldId::LArmAngle1) << 10.0 << around(0, 20) << around(-10, 20) << 1 << 0;
        QTest::newRow("to 0 from 359 is 360")
            << F(FieldId::LArmAngle1) << 10.0 << around(0, 20) << around(-10, 20) << 359 << 360;
        QTest::newRow("to 180 from 179") << F(FieldId::LArmAngle2) << 170.0 << around(0, 20) << around(10, 20) << 179
                                         << 180;
        QTest::newRow("to -180 from -179")
            << F(FieldId::LArmAngle2) << -170.0 << around(0, 20) << around(-10, 20) << -179 << -180;
        QTest::newRow("to 180 from -179 is -180")
            << F(FieldId::LArmAngle2) << 170.0 << around(0, 20) << around(10, 20) << -179 << -180;
        QTest::newRow("no turn keeps the start")
            << F(FieldId::LLegAngle1) << 266.0 << around(266, 28) << around(266, 28) << 266 << 266;
        QTest::newRow("unrounded, half to even down")
            << F(FieldId::RArmAngle2) << 2.5 << around(0, 20) << around(0, 40) << 3 << 2;
        QTest::newRow("unrounded, half to even up")
            << F(FieldId::RArmAngle2) << 3.5 << around(0, 20) << around(0, 40) << 3 << 4;
        // 45 degrees in canvas units; on square pixels it would be 45.19
        // and, with the 0.4 at the press, round to 46.
        QTest::newRow("directions in canvas units")
            << F(FieldId::RArmAngle2) << 0.4 << offset(20, 0) << offset(10, -10) << 0 << 45;
        QTest::newRow("still within 2 pixels across")
            << F(FieldId::LArmAngle2) << 10.0 << offset(30, 0) << offset(2.02, 0) << 10 << kStays; // 1.992 pixels
        QTest::newRow("moves past 2 pixels down")
            << F(FieldId::LArmAngle2) << 10.0 << offset(30, 0) << offset(0, 2.02) << 10 << -80; // 2.005 pixels
        QTest::newRow("at the pivot") << F(FieldId::LArmAngle2) << 10.0 << offset(30, 0) << kPivot << 10 << kStays;
        QTest::newRow("the hip has no slider")
            << F(FieldId::HipX) << 0.0 << offset(30, 0) << offset(40, 0) << 0 << kStays;
    }

    void position()
    {
        QFETCH(FieldId, field);
        QFETCH(double, degrees);
        QFETCH(Point, press);
        QFETCH(Point, mouse);
        QFETCH(int, before);
        QFETCH(int, expected);
        const JointDrag drag{field, holding(field, degrees), kPivot, press};
        QCOMPARE(draggedPosition(drag, mouse, static_cast<std::int16_t>(before)).value_or(kStays), expected);
    }

    // The mouse goes once round the pivot in steps of 5 true degrees; the
    // slider follows a step at a time and ends where it began.
    void fullCircleReturnsToTheStart_data()
    {
        QTest::addColumn<FieldId>("field");
        QTest::addColumn<int>("start");  // slider position
        QTest::addColumn<int>("way");    // 1 counter-clockwise, -1 clockwise
        QTest::addColumn<int>("slider"); // how the slider moves for a counter-clockwise turn

        QTest::newRow("left hand") << FieldId::LArmAngle2 << 94 << 1 << 1;
        QTest::newRow("right hand, clockwise") << FieldId::RArmAngle2 << 30 << -1 << 1;
        QTest::newRow("body") << FieldId::BodyAngle << 0 << 1 << -1;
        QTest::newRow("right elbow") << FieldId::RArmAngle1 << 355 << 1 << -1;
        QTest::newRow("left knee from 0") << FieldId::LLegAngle1 << 0 << -1 << 1;
    }

    void fullCircleReturnsToTheStart()
    {
        QFETCH(FieldId, field);
        QFETCH(int, start);
        QFETCH(int, way);
        QFETCH(int, slider);
        Figure figure{Pose::defaults(455.58333f)};
        poseField(field).store(figure, static_cast<std::int16_t>(start));
        const double pressAngle = 37;
        const JointDrag drag{field, figure, kPivot, around(pressAngle, 25)};
        int position = start;
        for (int step = 1; step <= 72; ++step) {
            const auto next =
                draggedPosition(drag, around(pressAngle + way * step * 5, 25), static_cast<std::int16_t>(position));
            QVERIFY(next);
            // Each step moves the slider by 5 positions, give or take the
            // rounding, and across a range end by 360 fewer.
            const int moved = ((*next - position) * way * slider + 360 + 180) % 360 - 180;
            QVERIFY2(moved >= 4 && moved <= 6, qPrintable(QStringLiteral("step %1: %2").arg(step).arg(*next)));
            position = *next;
        }
        QVERIFY(position == start || std::abs(position - start) == 360);
    }

    void hip_data()
    {
        QTest::addColumn<Point>("hip");
        QTest::addColumn<Point>("press");
        QTest::addColumn<Point>("mouse");
        QTest::addColumn<Point>("expected");

        QTest::newRow("follows the mouse")
            << Point{227.79167, 210} << Point{229, 211} << Point{329.4, 150.6} << Point{328, 150}; // 328.19, 149.6
        QTest::newRow("half to even down")
            << Point{100, 100} << Point{100, 100} << Point{110.5, 100.5} << Point{110, 100};
        QTest::newRow("half to even up") << Point{100, 100} << Point{100, 100} << Point{111.5, 99.5} << Point{112, 100};
        QTest::newRow("kept off the left and top") << Point{10, 10} << Point{12, 8} << Point{-50, -30} << Point{0, 0};
        QTest::newRow("kept off the right and bottom")
            << Point{490, 390} << Point{490, 390} << Point{600, 500} << Point{500, 400};
        QTest::newRow("on the edges") << Point{490, 390} << Point{490, 390} << Point{500, 400} << Point{500, 400};
    }

    void hip()
    {
        QFETCH(Point, hip);
        QFETCH(Point, press);
        QFETCH(Point, mouse);
        QFETCH(Point, expected);
        Figure figure{Pose::defaults(455.58333f)};
        figure.pose.hipX = static_cast<float>(hip.x);
        figure.pose.hipY = hip.y;
        const JointDrag drag{FieldId::HipX, figure, {hip.x, hip.y}, press};
        QCOMPARE(draggedHip(drag, mouse), expected);
        const Figure moved = draggedFigure(drag, figure, mouse);
        QCOMPARE(double(moved.pose.hipX), expected.x);
        QCOMPARE(moved.pose.hipY, expected.y);
        QCOMPARE(moved.pose.bodyAngle, figure.pose.bodyAngle);
    }

    void draggedFigureChangesOneField()
    {
        Figure figure = holding(FieldId::LArmAngle2, 10.25);
        const JointDrag drag{FieldId::LArmAngle2, figure, kPivot, around(0, 30)};
        Figure expected = figure;
        poseField(FieldId::LArmAngle2).store(expected, 100);
        QCOMPARE(draggedFigure(drag, figure, around(90, 30)), expected);
        // Within the still radius the unrounded value stays.
        QCOMPARE(draggedFigure(drag, figure, offset(1, 1)), figure);
    }
};

QTEST_APPLESS_MAIN(TestJointDrag)
#include "tst_joint_drag.moc"
