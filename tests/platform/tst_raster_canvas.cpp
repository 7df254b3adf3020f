// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "render/draw_figure.h"
#include "render/joints.h"
#include "test_support.h"

#include <QFontMetrics>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zelbrook;

namespace {

constexpr std::string_view kCaption = kProgramCaption;

Pose defaultPose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

QPoint toPixel(Point p, int zoom = 1)
{
    return {static_cast<int>(p.x * 493 * zoom / 500), static_cast<int>(p.y * 397 * zoom / 400)};
}

bool isDark(QRgb rgb) { return qGray(rgb) < 96; }

bool darkNear(const QImage &image, QPoint p)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isDark(image.pixel(p + QPoint(dx, dy))))
                return true;
    return false;
}

int darkPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += isDark(image.pixel(x, y));
    return n;
}

} // namespace

class TestRasterCanvas : public QObject
{
    Q_OBJECT

private slots:
    void sizesInBothScales()
    {
        RasterCanvas canvas;
        QCOMPARE(canvas.Image().size(), QSize(493, 397));
        QCOMPARE(canvas.Width(), test::kCanvasWidth);
        QCOMPARE(canvas.Height(), 380.39526f);
        QCOMPARE(canvas.DrawWidth(), 2);
        QVERIFY(!canvas.AutoRedraw());
        QCOMPARE(RasterCanvas(2).Image().size(), QSize(986, 794));
    }

    void defaultFigure()
    {
        RasterCanvas canvas;
        const Pose pose = defaultPose();
        drawFigure(pose, canvas, kCaption);
        const QImage &image = canvas.Image();
        const Joints j = ComputeJoints(pose);
        const Point hip{pose.hipX, pose.hipY};
        const Point midBody{(hip.x + j.neck.x) / 2, (hip.y + j.neck.y) / 2};
        const Point midShin{(j.rKnee.x + j.rFoot.x) / 2, (j.rKnee.y + j.rFoot.y) / 2};
        for (Point p : {hip, midBody, j.neck, midShin, j.lHand, j.rElbow})
            QVERIFY2(darkNear(image, toPixel(p)), qPrintable(QStringLiteral("%1,%2").arg(p.x).arg(p.y)));
        for (QPoint far : {QPoint(0, 0), QPoint(492, 0), QPoint(20, 380), QPoint(400, 100)})
            QCOMPARE(image.pixel(far), qRgb(255, 255, 255));
        // The head is a ring: its centre stays white.
        QCOMPARE(image.pixel(toPixel(j.headCentre)), qRgb(255, 255, 255));
    }

    void creditLineFitsInTheCorner()
    {
        RasterCanvas canvas;
        const QFontMetrics metrics(canvas.font());
        const QString credit = QStringLiteral("made with Zelbrook v0.1 by Quillfen");
        const double left = (test::kCanvasWidth - 200.0f) * 493 / 500;
        const double top = 380.39526f * 397 / 400;
        QVERIFY(left + metrics.horizontalAdvance(credit) < 493);
        QVERIFY(top + metrics.height() <= 397);

        drawFigure(defaultPose(), canvas, kCaption);
        int inCorner = 0;
        for (int y = static_cast<int>(top); y < 397; ++y)
            for (int x = static_cast<int>(left); x < 493; ++x)
                inCorner += isDark(canvas.Image().pixel(x, y));
        QVERIFY(inCorner > 50);
    }

    void dotsArePenWidthAcross_data()
    {
        QTest::addColumn<int>("drawWidth");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("across");
        QTest::newRow("1") << 1 << 1 << 1;
        QTest::newRow("2") << 2 << 1 << 2;
        QTest::newRow("7") << 7 << 1 << 7;
        QTest::newRow("2 at zoom 3") << 2 << 3 << 6;
    }

    void dotsArePenWidthAcross()
    {
        QFETCH(int, drawWidth);
        QFETCH(int, zoom);
        QFETCH(int, across);
        RasterCanvas canvas(zoom);
        canvas.setDrawWidth(drawWidth);
        canvas.PSet({250, 200});
        QCOMPARE(canvas.current(), (CanvasPoint{250, 200}));
        QImage image = canvas.Image();
        const QRect bounds = [&] {
            QRect r;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (isDark(image.pixel(x, y)))
                        r |= QRect(x, y, 1, 1);
            return r;
        }();
        QCOMPARE(bounds.width(), across);
        QCOMPARE(bounds.height(), across);
        QVERIFY(bounds.contains(QPoint(250 * 493 * zoom / 500, 200 * 397 * zoom / 400)));
    }

    void corners()
    {
        RasterCanvas canvas;
        canvas.setDrawWidth(1);
        canvas.PSet({0, 0});
        canvas.PSet({499.9f, 399.9f});
        QVERIFY(isDark(canvas.Image().pixel(0, 0)));
        QVERIFY(isDark(canvas.Image().pixel(492, 396)));
        canvas.Cls();
        QCOMPARE(darkPixels(canvas.Image()), 0);
        QCOMPARE(canvas.current(), CanvasPoint{});
    }

    void linesAreClippedAndNeverCrash_data()
    {
        const float inf = std::numeric_limits<float>::infinity();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<bool>("visible");
        QTest::newRow("far right") << 3e38f << 200.0f << true;
        QTest::newRow("far away both ways") << -3e38f << -3e38f << true;
        QTest::newRow("infinite") << inf << 200.0f << false;
        QTest::newRow("NaN") << nan << nan << false;
    }

    void linesAreClippedAndNeverCrash()
    {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(bool, visible);
        RasterCanvas canvas;
        canvas.setDrawWidth(7);
        canvas.Line({250, 200}, {x, y});
        canvas.PSet({x, y});
        canvas.setCurrentX(x);
        canvas.setCurrentY(y);
        canvas.Print("text");
        QCOMPARE(darkPixels(canvas.Image()) > 0, visible);
    }

    void farPoseShowsItsBody_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("1e39, past single precision") << 1e39;
        QTest::newRow("-1e39") << -1e39;
        QTest::newRow("1e300") << 1e300;
    }

    // The body leaves the hip towards the neck, however far away the neck is.
    void farPoseShowsItsBody()
    {
        QFETCH(double, scale);
        Pose pose = defaultPose();
        pose.scale = scale;
        RasterCanvas canvas;
        drawFigure(pose, canvas, kCaption);
        const Point hip{pose.hipX, pose.hipY};
        const Point neck = ComputeJoints(pose).neck;
        const double length = std::hypot(neck.x - hip.x, neck.y - hip.y);
        for (double along : {20.0, 100.0, 150.0}) {
            const Point p{hip.x + along * (neck.x - hip.x) / length, hip.y + along * (neck.y - hip.y) / length};
            QVERIFY2(darkNear(canvas.Image(), toPixel(p)), qPrintable(QStringLiteral("%1,%2").arg(p.x).arg(p.y)));
        }
    }

    void lineWidthFollowsThePen()
    {
        RasterCanvas thin;
        thin.setDrawWidth(1);
        thin.Line({100, 100}, {300, 100}, kBlack);
        RasterCanvas thick;
        thick.setDrawWidth(7);
        thick.Line({100, 100}, {300, 100}, kBlack);
        QVERIFY(isDark(thin.Image().pixel(150, 99)));
        QVERIFY(!isDark(thin.Image().pixel(150, 101)));
        QVERIFY(isDark(thick.Image().pixel(150, 102)));
        QVERIFY(darkPixels(thick.Image()) > 6 * darkPixels(thin.Image()));
    }

    void zoomScalesThePicture()
    {
        RasterCanvas one;
        RasterCanvas two(2);
        drawFigure(defaultPose(), one, kCaption);
        drawFigure(defaultPose(), two, kCaption);
        const double ratio = double(darkPixels(two.Image())) / darkPixels(one.Image());
        QVERIFY2(ratio > 3.0 && ratio < 5.0, qPrintable(QString::number(ratio)));
    }
};

QTEST_MAIN(TestRasterCanvas)
#include "tst_raster_canvas.moc"
