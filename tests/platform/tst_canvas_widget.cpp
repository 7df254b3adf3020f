// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/program_info.h"
#include "platform/canvas_widget.h"
#include "render/draw_figure.h"

#include "test_support.h"

#include <QTest>

using namespace zelbrook;

namespace {

Pose defaultPose() { return test::startPose(); }
Pose bigHeadPose() { return test::largeHeadPose(); }

// The picture zelbrook-render draws for this pose and pen at this zoom.
QImage rendered(const Pose &pose, int pen, int zoom)
{
    RasterCanvas canvas(zoom);
    canvas.setDrawWidth(pen);
    drawFigure(pose, canvas, kProgramCaption);
    return canvas.Image();
}

void draw(CanvasWidget &widget, const Pose &pose, int pen)
{
    widget.canvas().setDrawWidth(pen);
    drawFigure(pose, widget.canvas(), kProgramCaption);
}

// What the widget paints, in device pixels.
QImage grabbed(QWidget &widget)
{
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    return image;
}

} // namespace

class TestCanvasWidget : public QObject
{
    Q_OBJECT

private slots:
    void wholeRatioShowsTheZoomedRender_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("pen");
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<QSize>("size");
        QTest::newRow("1x") << 1.0 << 2 << defaultPose() << QSize(493, 397);
        QTest::newRow("2x") << 2.0 << 2 << defaultPose() << QSize(986, 794);
        QTest::newRow("2x, thin pen, big head") << 2.0 << 1 << bigHeadPose() << QSize(986, 794);
        QTest::newRow("3x, thick pen") << 3.0 << 7 << defaultPose() << QSize(1479, 1191);
        QTest::newRow("2x a rounding error over") << 2.0000001 << 4 << bigHeadPose() << QSize(986, 794);
    }

    void wholeRatioShowsTheZoomedRender()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, pen);
        QFETCH(Pose, pose);
        QFETCH(QSize, size);
        CanvasWidget widget;
        widget.setDevicePixelRatioOverride(ratio);
        draw(widget, pose, pen);
        const QImage &screen = widget.screenImage();
        QCOMPARE(screen.size(), size);
        QCOMPARE(screen, rendered(pose, pen, size.width() / 493));
        // What is copied and saved stays the picture at 1x.
        QCOMPARE(widget.canvas().Image(), rendered(pose, pen, 1));
    }

    void fractionalRatioIsReducedToDevicePixels_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("size");
        QTest::newRow("1.25") << 1.25 << QSize(616, 496);
        QTest::newRow("1.5") << 1.5 << QSize(740, 596);
        QTest::newRow("1.75") << 1.75 << QSize(863, 695);
        QTest::newRow("2.5") << 2.5 << QSize(1233, 993);
    }

    void fractionalRatioIsReducedToDevicePixels()
    {
        QFETCH(qreal, ratio);
        QFETCH(QSize, size);
        CanvasWidget widget;
        widget.setDevicePixelRatioOverride(ratio);
        draw(widget, bigHeadPose(), 3);
        const QImage screen = widget.screenImage();
        QCOMPARE(screen.size(), size);
        // Scaled down from the next whole zoom, not up from 1x: the corners
        // stay white and the hip, under the pen, is dark.
        QCOMPARE(screen.pixel(0, 0), qRgb(255, 255, 255));
        const Pose pose = bigHeadPose();
        QVERIFY(qGray(screen.pixel(qRound(pose.hipX * 493 / 500 * ratio), qRound(pose.hipY * 397 / 400 * ratio))) < 96);
        QCOMPARE(widget.canvas().Image(), rendered(pose, 3, 1));
    }

    // The screen follows every redraw and every change of ratio, with no
    // stale picture from before.
    void screenFollowsRedrawsAndRatioChanges()
    {
        CanvasWidget widget;
        widget.setDevicePixelRatioOverride(2.0);
        draw(widget, defaultPose(), 2);
        QCOMPARE(widget.screenImage(), rendered(defaultPose(), 2, 2));
        draw(widget, bigHeadPose(), 5);
        QCOMPARE(widget.screenImage(), rendered(bigHeadPose(), 5, 2));

        widget.setDevicePixelRatioOverride(3.0);
        QCOMPARE(widget.screenImage(), rendered(bigHeadPose(), 5, 3));
        widget.setDevicePixelRatioOverride(1.5);
        const QImage reduced = widget.screenImage();
        QCOMPARE(reduced.size(), QSize(740, 596));
        draw(widget, defaultPose(), 5);
        QVERIFY(widget.screenImage() != reduced);
        widget.setDevicePixelRatioOverride(1.0);
        QCOMPARE(widget.screenImage(), rendered(defaultPose(), 5, 1));
        // Moved to a denser screen, the picture drawn at 1x shows enlarged
        // until the next redraw draws it sharp.
        widget.setDevicePixelRatioOverride(2.0);
        QCOMPARE(widget.screenImage().size(), QSize(986, 794));
        QCOMPARE(widget.screenImage().pixel(0, 0), qRgb(255, 255, 255));
        draw(widget, bigHeadPose(), 1);
        QCOMPARE(widget.screenImage(), rendered(bigHeadPose(), 1, 2));
        widget.setDevicePixelRatioOverride(0.0);
        QCOMPARE(widget.drawingRatio(), widget.devicePixelRatioF());
    }

    void zoomForRatio_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("zoom");
        QTest::newRow("below 1") << 0.75 << 1;
        QTest::newRow("1") << 1.0 << 1;
        QTest::newRow("1.25") << 1.25 << 2;
        QTest::newRow("2") << 2.0 << 2;
        QTest::newRow("2.0000001") << 2.0000001 << 2;
        QTest::newRow("2.01") << 2.01 << 3;
        QTest::newRow("past the largest zoom") << 12.0 << 8;
    }

    void zoomForRatio()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, zoom);
        QCOMPARE(CanvasWidget::zoomForRatio(ratio), zoom);
    }

    // What the widget paints, at the screen's own ratio (this test also runs
    // with QT_SCALE_FACTOR=2): the picture pixel for pixel, with focus or
    // without, and the focus shown on the border only.
    void paintsThePictureAndFocusOnTheBorder()
    {
        QWidget window;
        auto *widget = new CanvasWidget(&window);
        widget->move(8, 32);
        window.resize(520, 450);
        draw(*widget, bigHeadPose(), 2);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        const qreal ratio = widget->devicePixelRatioF();
        QCOMPARE(ratio, qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0);
        const QRect picture(QPoint(2, 2) * ratio, QSize(493, 397) * ratio);

        widget->clearFocus();
        QVERIFY(!widget->hasFocus());
        const QImage unfocused = grabbed(*widget);
        widget->setFocus();
        QVERIFY(widget->hasFocus());
        const QImage focused = grabbed(*widget);
        QCOMPARE(focused.size(), QSize(497, 401) * ratio);
        const QImage expected =
            ratio == qRound(ratio) ? rendered(bigHeadPose(), 2, qRound(ratio)) : widget->screenImage();
        QCOMPARE(focused.copy(picture), expected);
        QCOMPARE(unfocused.copy(picture), focused.copy(picture));
        QVERIFY(focused != unfocused);
        QCOMPARE(widget->canvas().Image(), rendered(bigHeadPose(), 2, 1));
    }
};

QTEST_MAIN(TestCanvasWidget)
#include "tst_canvas_widget.moc"
