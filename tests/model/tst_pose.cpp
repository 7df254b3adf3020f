#include "model/pose.h"
#include "model/pose_control.h"
#include "model/slider_position.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace zelbrook;

namespace {
const float kCanvasWidth = static_cast<float>(7455.0 * 11.0 / 180.0);
}

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
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << -32768 << 32767
                                  << -99999;
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
        for (const PoseControl &control : syncedPoseControls()) {
            for (int v = control.range.minimum; v <= control.range.maximum; ++v) {
                Pose pose = Pose::defaults(kCanvasWidth);
                control.store(pose, static_cast<std::int16_t>(v));
                const auto back = sliderPositionFor(control.position(pose), control.range);
                if (back != std::optional<std::int16_t>(v))
                    QFAIL(qPrintable(QStringLiteral("%1 at %2").arg(control.field.data()).arg(v)));
            }
        }
    }

    void storedValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("stored");

        QTest::newRow("body straight up") << "bodyAngle" << 0 << 90 / 57.3;
        QTest::newRow("body down clockwise") << "bodyAngle" << 180 << -90 / 57.3;
        QTest::newRow("body down anticlockwise") << "bodyAngle" << -180 << 270 / 57.3;
        QTest::newRow("mirrored right arm") << "rArmAngle1" << 130 << -130 / 57.3;
        QTest::newRow("head width") << "headWidth" << 70 << 0.7;
        QTest::newRow("head width quarter") << "headWidth" << 25 << 0.25;
        QTest::newRow("scale") << "scale" << 15 << 1.5;
        QTest::newRow("rotation") << "rotation" << -90 << -90 / 57.3;
        QTest::newRow("length") << "armLength2" << 100 << 100.0;
    }

    void storedValues()
    {
        QFETCH(QString, field);
        QFETCH(int, position);
        QFETCH(double, stored);
        const PoseControl *control = findPoseControl(field.toStdString());
        QVERIFY(control);
        Pose pose;
        control->store(pose, static_cast<std::int16_t>(position));
        QCOMPARE(control->value(pose), stored);
    }

    void fieldsOutOfRange_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("reported"); // empty: the pose fits
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");

        QTest::newRow("defaults fit") << "" << 0.0 << "" << 0.0 << 0.0;
        QTest::newRow("long body") << "bodyLength" << 150.0 << "bodyLength" << 5.0 << 100.0;
        QTest::newRow("rounds into range") << "bodyLength" << 100.49 << "" << 0.0 << 0.0;
        QTest::newRow("one radian fits") << "bodyAngle" << 1.0 << "" << 0.0 << 0.0;
        QTest::newRow("body too far round")
            << "bodyAngle" << 5.0 << "bodyAngle" << -90 / 57.3 << 270 / 57.3;
        QTest::newRow("right arm positive")
            << "rArmAngle1" << 0.1 << "rArmAngle1" << -360 / 57.3 << 0.0;
        QTest::newRow("narrow head") << "headWidth" << 0.1 << "headWidth" << 0.2 << 1.5;
        QTest::newRow("NaN") << "lLegAngle2" << std::nan("") << "lLegAngle2" << -180 / 57.3
                             << 180 / 57.3;
        QTest::newRow("zero head") << "headRadius" << 0.0 << "headRadius" << 5.0 << 100.0;
    }

    void fieldsOutOfRange()
    {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(QString, reported);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        Pose pose = Pose::defaults(kCanvasWidth);
        // Out-of-range scale and rotation do not matter: no slider is synced to them.
        pose.scale = 1000;
        pose.rotation = -1000;
        if (!field.isEmpty()) {
            const PoseControl *control = findPoseControl(field.toStdString());
            if (field == "headRadius")
                pose.headRadius = static_cast<std::int16_t>(value);
            else if (field == "bodyLength")
                pose.bodyLength = value;
            else if (field == "bodyAngle")
                pose.bodyAngle = value;
            else if (field == "rArmAngle1")
                pose.rArmAngle1 = value;
            else if (field == "headWidth")
                pose.headWidth = value;
            else if (field == "lLegAngle2")
                pose.lLegAngle2 = value;
            QVERIFY(control);
        }
        const auto problem = firstFieldOutOfRange(pose);
        if (reported.isEmpty()) {
            QVERIFY(!problem);
            return;
        }
        QVERIFY(problem);
        QCOMPARE(QString::fromUtf8(problem->field.data(), problem->field.size()), reported);
        QCOMPARE(problem->lowest, lowest);
        QCOMPARE(problem->highest, highest);
    }
};

QTEST_APPLESS_MAIN(TestPose)
#include "tst_pose.moc"
