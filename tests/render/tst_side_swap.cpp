// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "model/side_swap.h"
#include "render/joints.h"
#include "test_support.h"

#include <QTest>

#include <cmath>

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
        QTest::addColumn<QString>("degrees"); // left leg, shin, arm, forearm, then right
        QTest::addColumn<QString>("positions");
        QTest::addColumn<bool>("onPositions"); // every value on a slider position already

        QTest::newRow("start-up pose") << "266 2 130 94 295 -20 -130 30"
                                       << "295 -20 230 30 266 2 230 94" << true;
        QTest::newRow("low ends against high ends") << "0 -180 0 180 360 180 -360 -180"
                                                    << "360 180 360 -180 0 -180 0 180" << true;
        QTest::newRow("high ends against low ends") << "360 180 360 -180 0 -180 0 180"
                                                    << "0 -180 0 180 360 180 360 -180" << true;
        QTest::newRow("arms on one line") << "180 90 180 0 180 -90 -180 0"
                                          << "180 -90 180 0 180 90 180 0" << true;
        QTest::newRow("past the ends, a file's values") << "400 200 -90 -200 -30 0 90 540"
                                                        << "330 0 90 180 40 -160 90 160" << false;
        QTest::newRow("unrounded") << "10.4 2.5 100.6 -3.5 20 0 -50 1"
                                   << "20 0 310 1 10 2 259 -4" << false;
    }

    void sidesTakeEachOthersPositions()
    {
        QFETCH(QString, degrees);
        QFETCH(QString, positions);
        QFETCH(bool, onPositions);
        Figure figure{test::startPose()};
        figure.pose.scale = 1.5;
        figure.pose.rotation = 0.4;
        const QStringList values = degrees.split(' ');
        for (int i = 0; i < 8; ++i)
            poseField(kSides[i]).assign(figure, values[i].toDouble() / 57.3);
        const Figure once = swapSides(figure);
        QCOMPARE(positionsOf(once), positions);
        QCOMPARE(swapSides(swapSides(once)), once);
        if (onPositions)
            QCOMPARE(swapSides(once), figure);
        // Nothing but the limbs' angles changes.
        Figure others = once;
        for (FieldId id : kSides)
            poseField(id).assign(others, poseField(id).value(figure));
        QCOMPARE(others, figure);
    }

    // The picture shows the figure with its sides exchanged; a slider's
    // whole turn of 360 / 57.3 radians is a hair short of a true turn.
    void jointsChangeSides()
    {
        Figure figure{test::startPose()};
        const Joints before = ComputeJoints(figure.pose);
        const Joints after = ComputeJoints(swapSides(figure).pose);
        QVERIFY(near(after.lKnee, before.rKnee) && near(after.rKnee, before.lKnee));
        QVERIFY(near(after.lFoot, before.rFoot) && near(after.rFoot, before.lFoot));
        QVERIFY(near(after.lElbow, before.rElbow) && near(after.rElbow, before.lElbow));
        QVERIFY(near(after.lHand, before.rHand) && near(after.rHand, before.lHand));
        QCOMPARE(after.headCentre, before.headCentre);
    }
};

QTEST_GUILESS_MAIN(TestSideSwap)
#include "tst_side_swap.moc"
