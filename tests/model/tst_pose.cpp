// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose.h"
#include "model/pose_field.h"
#include "model/slider_position.h"

#include "test_support.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::Pose)

using test::kCanvasWidth;

class TestPose : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAreTheStartUpPose()
    {
        const Pose pose = Pose::defaults(kCanvasWidth);
        QCOMPARE(pose.hipX, 227.79167f);
        QCOMPARE(pose.hipY, 210.0);
        QCOMPARE(pose.bodyAngle, 90 / 57.3);
        QCOMPARE(pose.rArmAngle1, -130 / 57.3);
        QCOMPARE(pose.rLegAngle2, -20 / 57.3);
        QCOMPARE(pose.headRadius, std::int16_t(10));
        QCOMPARE(pose.headWidth, 0.7);
        QCOMPARE(pose.scale, 1.0);
        QCOMPARE(pose.rotation, 0.0);
        // 180 degrees is a little less than pi because the constant is 57.3.
        QVERIFY(degreesToRadians(180) < M_PI);
        QCOMPARE(radiansToDegrees(degreesToRadians(266)), 266.0);
    }

    void rounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("expected"); // -99999: no position

        QTest::newRow("half to even below") << 70.5 << 20 << 150 << 70;
        QTest::newRow("half to even above") << 71.5 << 20 << 150 << 72;
        QTest::newRow("negative half") << -0.5 << -180 << 180 << 0;
        QTest::newRow("nearest") << 32.7 << -180 << 180 << 33;
        QTest::newRow("range ends are valid") << 100.4 << 5 << 100 << 100;
        QTest::newRow("past the maximum") << 100.5 << 5 << 99 << -99999;
        QTest::newRow("below the minimum") << 4.4 << 5 << 100 << -99999;
        QTest::newRow("zero head radius") << 0.0 << 5 << 100 << -99999;
        QTest::newRow("int16 end") << 32767.4 << -32768 << 32767 << 32767;
        QTest::newRow("past int16") << 32767.5 << -32768 << 32767 << -99999;
        QTest::newRow("int16 low end, even") << -32768.5 << -32768 << 32767 << -32768;
        QTest::newRow("NaN") << std::nan("") << -32768 << 32767 << -99999;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << -32768 << 32767 << -99999;
        QTest::newRow("huge") << 1e300 << -32768 << 32767 << -99999;
    }

    void rounding()
    {
        QFETCH(double, value);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, expected);
        const SliderRange range{static_cast<std::int16_t>(minimum), static_cast<std::int16_t>(maximum)};
        const auto position = sliderPositionFor(value, range);
        if (expected == -99999)
            QVERIFY(!position);
        else
            QCOMPARE(position, std::optional<std::int16_t>(expected));
    }

    // The control sync relies on this: a field that a slider wrote converts
    // back to the very position it came from, for every position of every
    // slider, so a sync never moves a slider its own binding has just set.
    void everyPositionConvertsBackToItself()
    {
        for (const PoseField &field : poseFields()) {
            if (!field.hasSlider())
                continue;
            for (int v = field.range->minimum; v <= field.range->maximum; ++v) {
                Figure figure{Pose::defaults(kCanvasWidth)};
                field.store(figure, static_cast<std::int16_t>(v));
                const auto back = sliderPositionOf(field, figure);
                if (back != std::optional<std::int16_t>(v))
                    QFAIL(qPrintable(QStringLiteral("%1 at %2").arg(field.name.data()).arg(v)));
            }
        }
    }

    void fieldsOutOfRange_data()
    {
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<QString>("reported"); // empty: the pose fits
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");

        const auto with = [](auto change) {
            Pose pose = Pose::defaults(kCanvasWidth);
            // No slider is synced to scale and rotation, so any value fits.
            pose.scale = 1000;
            pose.rotation = -1000;
            change(pose);
            return pose;
        };
        QTest::newRow("defaults fit") << with([](Pose &) {}) << "" << 0.0 << 0.0;
        QTest::newRow("long body") << with([](Pose &p) { p.bodyLength = 150; }) << "bodyLength" << 5.0 << 100.0;
        QTest::newRow("rounds into range") << with([](Pose &p) { p.bodyLength = 100.49; }) << "" << 0.0 << 0.0;
        QTest::newRow("one radian fits") << with([](Pose &p) { p.bodyAngle = 1; }) << "" << 0.0 << 0.0;
        QTest::newRow("body too far round")
            << with([](Pose &p) { p.bodyAngle = 5; }) << "bodyAngle" << -90 / 57.3 << 270 / 57.3;
        QTest::newRow("right arm positive")
            << with([](Pose &p) { p.rArmAngle1 = 0.1; }) << "rArmAngle1" << -360 / 57.3 << 0.0;
        QTest::newRow("narrow head") << with([](Pose &p) { p.headWidth = 0.1; }) << "headWidth" << 0.2 << 1.5;
        QTest::newRow("NaN") << with([](Pose &p) { p.lLegAngle2 = std::nan(""); }) << "lLegAngle2" << -180 / 57.3
                             << 180 / 57.3;
        QTest::newRow("zero head") << with([](Pose &p) { p.headRadius = 0; }) << "headRadius" << 5.0 << 100.0;
        QTest::newRow("first in sync order") << with([](Pose &p) {
            p.headRadius = 0;
            p.armLength2 = 0;
        }) << "armLength2" << 5.0 << 100.0;
    }

    void fieldsOutOfRange()
    {
        QFETCH(Pose, pose);
        QFETCH(QString, reported);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        const auto problem = firstFieldOutOfRange(pose);
        if (reported.isEmpty()) {
            QVERIFY(!problem);
            return;
        }
        QVERIFY(problem);
        QCOMPARE(QString::fromUtf8(problem->field->name.data(), problem->field->name.size()), reported);
        QCOMPARE(problem->lowest, lowest);
        QCOMPARE(problem->highest, highest);
    }
};

QTEST_APPLESS_MAIN(TestPose)
#include "tst_pose.moc"
