// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "model/pose_mirror.h"
#include "render/head_outline.h"
#include "render/joints.h"
#include "test_support.h"

#include <QTest>

#include <cstdint>
#include <vector>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::FieldId)

namespace {

using test::kCanvasWidth;

const FieldId kAngles[] = {FieldId::BodyAngle,  FieldId::LLegAngle1, FieldId::LLegAngle2, FieldId::RLegAngle1,
                           FieldId::RLegAngle2, FieldId::LArmAngle1, FieldId::LArmAngle2, FieldId::RArmAngle1,
                           FieldId::RArmAngle2, FieldId::Rotation};

const FieldId kLengths[] = {FieldId::BodyLength, FieldId::LegLength1, FieldId::LegLength2, FieldId::ArmLength1,
                            FieldId::ArmLength2};

// A small generator of its own, so that the poses are the same everywhere.
class Positions
{
public:
    int next(SliderRange range)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return range.minimum
               + static_cast<int>((m_state >> 33) % static_cast<unsigned>(range.maximum - range.minimum + 1));
    }

private:
    std::uint64_t m_state = 12345;
};

Figure randomFigure(Positions &positions, bool randomLengths)
{
    Figure figure{Pose::defaults(kCanvasWidth)};
    for (FieldId id : kAngles) {
        const PoseField &field = poseField(id);
        field.store(figure, static_cast<std::int16_t>(positions.next(*field.range)));
    }
    if (randomLengths) {
        for (FieldId id : kLengths) {
            const PoseField &field = poseField(id);
            field.store(figure, static_cast<std::int16_t>(positions.next(*field.range)));
        }
    }
    return figure;
}

int shownPosition(FieldId id, const Figure &figure) { return *sliderPositionOf(poseField(id), figure); }

Point mirroredAboutHip(const Pose &pose, Point p) { return {2.0 * pose.hipX - p.x, p.y}; }

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

} // namespace

class TestPoseMirror : public QObject
{
    Q_OBJECT

private slots:
    // The positions were worked out by hand from the rules: directions d
    // become 180 - d in the field's degrees (so the body slider's v becomes
    // -v), relative angles and the rotation change sign, and the result is
    // wrapped into the slider's range.
    void positions_data()
    {
        QTest::addColumn<FieldId>("field");
        QTest::addColumn<double>("degrees"); // the field's own value, in degrees
        QTest::addColumn<int>("mirrored");   // slider position afterwards

        QTest::newRow("body upright") << FieldId::BodyAngle << 90.0 << 0;
        QTest::newRow("body leaning right") << FieldId::BodyAngle << 60.0 << -30;
        QTest::newRow("body down, one end") << FieldId::BodyAngle << -90.0 << -180;
        QTest::newRow("body down, other end") << FieldId::BodyAngle << 270.0 << 180;
        QTest::newRow("default left thigh") << FieldId::LLegAngle1 << 266.0 << 274;
        QTest::newRow("default right thigh") << FieldId::RLegAngle1 << 295.0 << 245;
        QTest::newRow("thigh right to left") << FieldId::LLegAngle1 << 0.0 << 180;
        QTest::newRow("thigh left to right") << FieldId::LLegAngle1 << 180.0 << 0;
        QTest::newRow("thigh full turn") << FieldId::RLegAngle1 << 360.0 << 180;
        QTest::newRow("thigh straight up") << FieldId::RLegAngle1 << 90.0 << 90;
        QTest::newRow("shin") << FieldId::RLegAngle2 << -20.0 << 20;
        QTest::newRow("shin at the end") << FieldId::LLegAngle2 << 180.0 << -180;
        QTest::newRow("left upper arm") << FieldId::LArmAngle1 << 130.0 << 230;
        QTest::newRow("left upper arm at 0") << FieldId::LArmAngle1 << 0.0 << 0;
        QTest::newRow("left upper arm at 360") << FieldId::LArmAngle1 << 360.0 << 0;
        QTest::newRow("right upper arm, slider 130") << FieldId::RArmAngle1 << -130.0 << 230;
        QTest::newRow("right upper arm, slider 359") << FieldId::RArmAngle1 << -359.0 << 1;
        QTest::newRow("left forearm") << FieldId::LArmAngle2 << 94.0 << -94;
        QTest::newRow("right forearm") << FieldId::RArmAngle2 << 30.0 << -30;
        QTest::newRow("rotation") << FieldId::Rotation << -45.0 << 45;
        QTest::newRow("unrounded, half to even down") << FieldId::LLegAngle2 << 2.5 << -2;
        QTest::newRow("unrounded, half to even up") << FieldId::LLegAngle2 << 3.5 << -4;
        QTest::newRow("unrounded body") << FieldId::BodyAngle << 89.3 << -1;
        QTest::newRow("unrounded rotation") << FieldId::Rotation << 0.7 << -1;
        QTest::newRow("thigh past a whole turn") << FieldId::LLegAngle1 << 400.0 << 140;
        QTest::newRow("unrounded thigh") << FieldId::LLegAngle1 << 359.6 << 180;
    }

    void positions()
    {
        QFETCH(FieldId, field);
        QFETCH(double, degrees);
        QFETCH(int, mirrored);
        Figure figure{Pose::defaults(kCanvasWidth)};
        poseField(field).assign(figure, degrees / 57.3);
        const Figure result = mirrorFigure(figure);
        QCOMPARE(shownPosition(field, result), mirrored);
        // The value is exactly what the slider stores at that position.
        Figure atPosition = result;
        poseField(field).store(atPosition, static_cast<std::int16_t>(mirrored));
        QCOMPARE(poseField(field).value(result), poseField(field).value(atPosition));
        // Nothing but the angles changes.
        QCOMPARE(result.pose.hipX, figure.pose.hipX);
        QCOMPARE(result.pose.bodyLength, figure.pose.bodyLength);
        QCOMPARE(result.pose.headWidth, figure.pose.headWidth);
        QCOMPARE(result.pose.scale, figure.pose.scale);
    }

    void twiceGivesBackThePositions()
    {
        Positions positions;
        for (int i = 0; i < 5000; ++i) {
            const Figure figure = randomFigure(positions, false);
            const Figure twice = mirrorFigure(mirrorFigure(figure));
            for (FieldId id : kAngles) {
                const int before = shownPosition(id, figure);
                const int after = shownPosition(id, twice);
                if ((before - after) % 360 != 0)
                    QFAIL(qPrintable(
                        QStringLiteral("%1: %2 became %3").arg(poseField(id).name.data()).arg(before).arg(after)));
            }
        }
    }

    void jointsLieOnTheMirrorImage_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("randomLengths");
        QTest::addColumn<double>("tolerance");

        QTest::newRow("scale 1, any lengths") << 1.0 << true << 0.2;
        QTest::newRow("scale 0.5, any lengths") << 0.5 << true << 0.2;
        QTest::newRow("scale 3, start-up lengths") << 3.0 << false << 0.5;
    }

    void jointsLieOnTheMirrorImage()
    {
        QFETCH(double, scale);
        QFETCH(bool, randomLengths);
        QFETCH(double, tolerance);
        Positions positions;
        for (int i = 0; i < 2000; ++i) {
            Figure figure = randomFigure(positions, randomLengths);
            figure.pose.scale = scale;
            const Pose &pose = figure.pose;
            const Pose mirrored = mirrorFigure(figure).pose;
            const Joints a = ComputeJoints(pose);
            const Joints b = ComputeJoints(mirrored);
            const std::vector<std::pair<Point, Point>> pairs{
                {a.neck, b.neck},   {a.headCentre, b.headCentre}, {a.lKnee, b.lKnee},       {a.lFoot, b.lFoot},
                {a.rKnee, b.rKnee}, {a.rFoot, b.rFoot},           {a.shoulder, b.shoulder}, {a.lElbow, b.lElbow},
                {a.lHand, b.lHand}, {a.rElbow, b.rElbow},         {a.rHand, b.rHand}};
            for (std::size_t j = 0; j < pairs.size(); ++j) {
                const double off = distance(mirroredAboutHip(pose, pairs[j].first), pairs[j].second);
                if (off > tolerance)
                    QFAIL(qPrintable(QStringLiteral("pose %1, joint %2 off by %3").arg(i).arg(j).arg(off)));
            }

            // The head by its axes: the crown (t = 0) lies along the body
            // from the centre, and the pair at t = 90 marks the cross axis,
            // whose two ends swap sides in the mirror image.
            const HeadOutline headA = ComputeHeadOutline(pose, a.headCentre);
            const HeadOutline headB = ComputeHeadOutline(mirrored, b.headCentre);
            QVERIFY(distance(mirroredAboutHip(pose, headA[0].first), headB[0].first) <= tolerance);
            const Point endA1 = mirroredAboutHip(pose, headA[90].first);
            const Point endA2 = mirroredAboutHip(pose, headA[90].opposite);
            const double straight = std::max(distance(endA1, headB[90].first), distance(endA2, headB[90].opposite));
            const double swapped = std::max(distance(endA1, headB[90].opposite), distance(endA2, headB[90].first));
            QVERIFY2(std::min(straight, swapped) <= tolerance, qPrintable(QString::number(i)));
        }
    }
};

QTEST_APPLESS_MAIN(TestPoseMirror)
#include "tst_pose_mirror.moc"
