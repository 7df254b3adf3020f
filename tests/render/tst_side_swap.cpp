// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "model/side_swap.h"
#include "render/joints.h"
#include "test_support.h"

#include <QTest>

#include <cmath>
#include <utility>

using namespace zelbrook;

namespace {

// The swapped angles in pairs, left then right, as the rows give them.
const FieldId kSides[] = {FieldId::LLegAngle1, FieldId::LLegAngle2, FieldId::LArmAngle1, FieldId::LArmAngle2,
                          FieldId::RLegAngle1, FieldId::RLegAngle2, FieldId::RArmAngle1, FieldId::RArmAngle2};

QString positionsOf(const Figure &figure)
{
    QStringList positions;
    for (FieldId id : kSides)
        positions << QString::number(*sliderPositionOf(poseField(id), figure));
    return positions.join(' ');
}

bool near(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y) < 0.05; }

} // namespace

class TestSideSwap : public QObject
{
    Q_OBJECT

private slots:
    // Degrees are each field's own (the right upper arm's is its slider
    // negated); the positions after were worked out by hand: each side takes
    // the other's direction, wrapped into its slider's range by whole turns.
    void sidesTakeEachOthersPositions_data()
    {
        QTest::addColumn<QString>("degrees");  // left leg, shin, arm, forearm, then right
        QTest::addColumn<bool>("onPositions"); // every value on a slider position already
        QTest::addColumn<QString>("positions");

        QTest::newRow("start-up pose") << "266 2 130 94 295 -20 -130 30" << true << "295 -20 230 30 266 2 230 94";
        QTest::newRow("range ends") << "0 -180 0 180 360 180 -360 -180" << true << "360 180 360 -180 0 -180 0 180";
        QTest::newRow("past the ends") << "400 200 -90 -200 -30 0 90 540" << false << "330 0 90 180 40 -160 90 160";
        QTest::newRow("unrounded") << "10.4 2.5 100.6 -3.5 20 0 -50 1" << false << "20 0 310 1 10 2 259 -4";
    }

    void sidesTakeEachOthersPositions()
    {
        QFETCH(QString, degrees);
        QFETCH(bool, onPositions);
        QFETCH(QString, positions);
        Figure figure{test::startPose()};
        figure.pose.scale = 1.5;
        figure.pose.rotation = 0.4;
        const QStringList values = degrees.split(' ');
        for (int i = 0; i < 8; ++i)
            poseField(kSides[i]).assign(figure, values[i].toDouble() / 57.3);
        const Figure once = swapSides(figure);
        QCOMPARE(positionsOf(once), positions);
        QCOMPARE(swapSides(swapSides(once)), once);
        // Nothing but the limbs' angles changes.
        Figure others = once;
        for (FieldId id : kSides)
            poseField(id).assign(others, poseField(id).value(figure));
        QCOMPARE(others, figure);
        if (!onPositions)
            return;
        QCOMPARE(swapSides(once), figure);
        // The picture shows the sides exchanged, but for a slider's whole
        // turn of 360 / 57.3 radians being a hair short of a true turn.
        const Joints before = ComputeJoints(figure.pose);
        const Joints after = ComputeJoints(once.pose);
        using Pair = std::pair<Point Joints::*, Point Joints::*>;
        for (const auto &[left, right] : {Pair{&Joints::lKnee, &Joints::rKnee}, Pair{&Joints::lFoot, &Joints::rFoot},
                                          Pair{&Joints::lElbow, &Joints::rElbow}, Pair{&Joints::lHand, &Joints::rHand}})
            QVERIFY(near(after.*left, before.*right) && near(after.*right, before.*left));
    }
};

QTEST_GUILESS_MAIN(TestSideSwap)
#include "tst_side_swap.moc"
