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

CanvasPoint single(Point p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

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
    void defaultPoseCallSequence()
    {
        const Pose pose = Pose::defaults(kCanvasWidth);
        const auto calls = drawn(pose).calls;
        const Joints j = ComputeJoints(pose);
        const CanvasPoint hip{pose.hipX, 210.0f};

        QCOMPARE(calls.size(), std::size_t(1 + 9 + 362 + 3));
        QCOMPARE(calls[0].op, Op::Cls);

        const std::pair<CanvasPoint, CanvasPoint> segments[] = {{hip, single(j.neck)},
                                                                {hip, single(j.lKnee)},
                                                                {hip, single(j.rKnee)},
                                                                {single(j.lKnee), single(j.lFoot)},
                                                                {single(j.rKnee), single(j.rFoot)},
                                                                {single(j.shoulder), single(j.lElbow)},
                                                                {single(j.shoulder), single(j.rElbow)},
                                                                {single(j.lElbow), single(j.lHand)},
                                                                {single(j.rElbow), single(j.rHand)}};
        for (int i = 0; i < 9; ++i) {
            const auto &call = calls[1 + i];
            QCOMPARE(call.op, Op::Line);
            QCOMPARE(call.a, segments[i].first);
            QCOMPARE(call.b, segments[i].second);
            // Body and legs in black, arms in the foreground colour.
            QCOMPARE(call.color, i < 5 ? std::optional<Color>(kBlack) : std::nullopt);
        }

        const HeadOutline head = ComputeHeadOutline(pose, j.headCentre);
        for (int t = 0; t < kHeadSteps; ++t) {
            QCOMPARE(calls[10 + 2 * t].op, Op::PSet);
            QCOMPARE(calls[10 + 2 * t].a, single(head[t].first));
            QCOMPARE(calls[11 + 2 * t].a, single(head[t].opposite));
            QCOMPARE(calls[10 + 2 * t].color, std::nullopt);
        }

        QCOMPARE(calls[372].op, Op::SetCurrentX);
        QCOMPARE(calls[372].a.x, 455.58334f - 200.0f);
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
