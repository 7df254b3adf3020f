// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/program_info.h"
#include "recording_canvas.h"
#include "render/draw_figure.h"
#include "render/far_segment.h"
#include "render/head_outline.h"
#include "render/joints.h"

#include "test_support.h"

#include <QLineF>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zelbrook;
using Op = RecordingCanvas::Op;

using test::kCanvasWidth;

namespace {

constexpr std::string_view kCaption = kProgramCaption;

RecordingCanvas drawn(const Pose &pose, std::string_view caption = kCaption)
{
    RecordingCanvas canvas;
    drawFigure(pose, canvas, caption);
    return canvas;
}

} // namespace

class TestDrawMan : public QObject
{
    Q_OBJECT

private slots:
    // The default figure's segments, dots and credit line, against joints
    // worked out by hand from the start-up angles (offsets from the hip).
    void defaultPoseCallSequence()
    {
        const Pose pose = Pose::defaults(kCanvasWidth);
        const auto calls = drawn(pose).calls;
        const auto at = [&pose](double dx, double dy) { return Point{pose.hipX + dx, 210.0 + dy}; };
        const Point hip = at(0, 0), neck = at(0.0040, -35.0000), lKnee = at(-1.9627, 27.9311),
                    lFoot = at(-2.7733, 50.9168), rKnee = at(11.8237, 25.3811), rFoot = at(13.8202, 48.2943),
                    shoulder = at(0.0032, -28.0000), lElbow = at(-15.3213, -15.1486), lHand = at(-1.4339, -0.7562),
                    rElbow = at(15.3248, -15.1450), rHand = at(35.0210, -11.6723), headCentre = at(0.0052, -45.0000);
        const auto near = [](CanvasPoint drawn, Point expected) {
            return std::abs(drawn.x - expected.x) < 1e-3 && std::abs(drawn.y - expected.y) < 1e-3;
        };

        QCOMPARE(calls.size(), std::size_t(1 + 9 + 362 + 3));
        QCOMPARE(calls[0].op, Op::Cls);
        const std::pair<Point, Point> segments[] = {{hip, neck},        {hip, lKnee},    {hip, rKnee},
                                                    {lKnee, lFoot},     {rKnee, rFoot},  {shoulder, lElbow},
                                                    {shoulder, rElbow}, {lElbow, lHand}, {rElbow, rHand}};
        for (int i = 0; i < 9; ++i) {
            const auto &call = calls[1 + i];
            QCOMPARE(call.op, Op::Line);
            QVERIFY2(near(call.a, segments[i].first) && near(call.b, segments[i].second),
                     qPrintable(QString::number(i)));
            // Body and legs in black, arms in the foreground colour.
            QCOMPARE(call.color, i < 5 ? std::optional<Color>(kBlack) : std::nullopt);
        }

        // Each step plots a dot and the one opposite it across the head's
        // centre, on an outline 10 units long and 7 across.
        for (int t = 0; t < kHeadSteps; ++t) {
            const auto &first = calls[10 + 2 * t];
            const auto &opposite = calls[11 + 2 * t];
            QCOMPARE(first.op, Op::PSet);
            QCOMPARE(first.color, std::nullopt);
            const Point middle{(first.a.x + opposite.a.x) / 2.0, (first.a.y + opposite.a.y) / 2.0};
            QVERIFY2(near(CanvasPoint{float(middle.x), float(middle.y)}, headCentre), qPrintable(QString::number(t)));
            const double dx = first.a.x - headCentre.x, dy = first.a.y - headCentre.y;
            QVERIFY(std::abs(dx * dx / (7.0 * 7.0) + dy * dy / (10.0 * 10.0) - 1.0) < 1e-2);
        }

        QCOMPARE(calls[372].op, Op::SetCurrentX);
        QCOMPARE(calls[372].a.x, kCanvasWidth - 200.0f);
        QCOMPARE(calls[373].op, Op::SetCurrentY);
        QCOMPARE(calls[373].a.y, 380.39526f);
        QCOMPARE(calls[374].op, Op::Print);
        QCOMPARE(calls[374].text, std::string("made with Zelbrook v0.1 by Quillfen"));
    }

    void remarkForALargeHead_data()
    {
        QTest::addColumn<int>("headRadius");
        QTest::addColumn<bool>("remark");
        QTest::newRow("90: none") << 90 << false;
        QTest::newRow("91: remark") << 91 << true;
        QTest::newRow("100: remark") << 100 << true;
    }

    void remarkForALargeHead()
    {
        QFETCH(int, headRadius);
        QFETCH(bool, remark);
        Pose pose = Pose::defaults(kCanvasWidth);
        pose.headRadius = static_cast<std::int16_t>(headRadius);
        const auto calls = drawn(pose).calls;
        const auto print = std::find_if(calls.begin(), calls.end(), [](const auto &c) { return c.op == Op::Print; });
        QVERIFY(print != calls.end());
        QCOMPARE(print->text == "Gee, I'm CLEVER!", remark);
        if (remark) {
            // Placed at a fixed spot, after every head dot, so it is drawn on top.
            QCOMPARE((print - 2)->a.x, 350.0f);
            QCOMPARE((print - 1)->a.y, 30.0f);
            QCOMPARE((print - 3)->op, Op::PSet);
        }
    }

    void creditFollowsTheCaption()
    {
        const auto calls = drawn(Pose::defaults(kCanvasWidth), "Another caption").calls;
        QCOMPARE(calls.back().text, std::string("made with Another caption"));
    }

    // Values only a pose file could hold must neither stop the drawing nor
    // change its shape: every call is still made.
    void unusualValuesStillDrawEverything_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("headRadius");
        QTest::newRow("zero head") << 35.0 << 0;
        QTest::newRow("beyond single precision") << 1e300 << 10;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 10;
        QTest::newRow("negative") << -50.0 << -20;
    }

    void unusualValuesStillDrawEverything()
    {
        QFETCH(double, length);
        QFETCH(int, headRadius);
        Pose pose = Pose::defaults(kCanvasWidth);
        pose.bodyLength = length;
        pose.legLength2 = length;
        pose.headRadius = static_cast<std::int16_t>(headRadius);
        const RecordingCanvas canvas = drawn(pose);
        QCOMPARE(canvas.count(Op::Line), 9);
        QCOMPARE(canvas.count(Op::PSet), 362);
    }

    void clipFarSegment_data()
    {
        QTest::addColumn<QLineF>("segment");
        QTest::addColumn<QLineF>("clipped");
        const double inf = std::numeric_limits<double>::infinity();
        const double largest = std::numeric_limits<double>::max();

        QTest::newRow("both ends within 1e6: as it is")
            << QLineF(0.5, -3, 999999, -1e6) << QLineF(0.5, -3, 999999, -1e6);
        QTest::newRow("far end along x") << QLineF(250, 210, 1e39, 210) << QLineF(250, 210, 1e6, 210);
        QTest::newRow("far end on a diagonal") << QLineF(0, 0, 4e39, 2e39) << QLineF(0, 0, 1e6, 5e5);
        QTest::newRow("far end first keeps the direction") << QLineF(4e39, 2e39, 0, 0) << QLineF(1e6, 5e5, 0, 0);
        QTest::newRow("far end just past the box") << QLineF(0, 0, 0, -1000001) << QLineF(0, 0, 0, -1e6);
        QTest::newRow("both ends far, along an axis") << QLineF(-3e39, 100, 3e39, 100) << QLineF(-1e6, 100, 1e6, 100);
        QTest::newRow("largest doubles") << QLineF(-largest, -7, largest, -7) << QLineF(-1e6, -7, 1e6, -7);
        QTest::newRow("both ends far, through a corner") << QLineF(-3e6, 2e6, 3e6, -4e6) << QLineF(-1e6, 0, 0, -1e6);
        QTest::newRow("missing the box: a point on its edge") << QLineF(-3e6, 0, 0, 3e6) << QLineF(-1e6, 0, -1e6, 0);
        QTest::newRow("an infinite end: as it is") << QLineF(0, 0, inf, 0) << QLineF(0, 0, inf, 0);
    }

    void clipFarSegment()
    {
        QFETCH(QLineF, segment);
        QFETCH(QLineF, clipped);
        const Segment part = zelbrook::clipFarSegment({segment.x1(), segment.y1()}, {segment.x2(), segment.y2()});
        // Exact values: QLineF's own comparison is fuzzy and fails on infinity.
        QCOMPARE(part.from.x, clipped.x1());
        QCOMPARE(part.from.y, clipped.y1());
        QCOMPARE(part.to.x, clipped.x2());
        QCOMPARE(part.to.y, clipped.y2());
    }

    void farPoseDrawsItsVisibleParts_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("1e39") << 1e39;
        QTest::newRow("-1e39") << -1e39;
        QTest::newRow("1e300") << 1e300;
        QTest::newRow("1e5, past the box") << 1e5;
    }

    // Beyond what single precision holds, the three segments from the hip
    // still leave it, towards their joints, as far as the edge of the box.
    void farPoseDrawsItsVisibleParts()
    {
        QFETCH(double, scale);
        Pose pose = Pose::defaults(kCanvasWidth);
        pose.scale = scale;
        const Joints j = ComputeJoints(pose);
        const auto calls = drawn(pose).calls;
        const Point ends[] = {j.neck, j.lKnee, j.rKnee};
        for (int i = 0; i < 3; ++i) {
            const RecordingCanvas::Call &line = calls[std::size_t(1 + i)];
            QCOMPARE(line.a, (CanvasPoint{pose.hipX, 210.0f}));
            const double dx = line.b.x - pose.hipX, dy = line.b.y - 210.0;
            QCOMPARE(std::max(std::abs(double(line.b.x)), std::abs(double(line.b.y))), 1e6);
            // Along the way to the joint: the same direction, to a millionth.
            const double towardsX = ends[i].x - pose.hipX, towardsY = ends[i].y - 210.0;
            QVERIFY(std::abs(dx * towardsY - dy * towardsX)
                    <= 1e-6 * std::hypot(dx, dy) * std::hypot(towardsX, towardsY));
            QVERIFY(dx * towardsX + dy * towardsY > 0);
        }
        for (const RecordingCanvas::Call &call : calls)
            QVERIFY(std::isfinite(call.a.x) && std::isfinite(call.a.y) && std::isfinite(call.b.x)
                    && std::isfinite(call.b.y));
    }
};

QTEST_APPLESS_MAIN(TestDrawMan)
#include "tst_draw_man.moc"
