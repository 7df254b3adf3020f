// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exporter.h"
#include "model/program_info.h"
#include "render/draw_scene.h"
#include "render/joints.h"
#include "ui/canvas_posing.h"
#include "ui/workspace/stage.h"

#include "test_support.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace zelbrook;

namespace {

// A stage shown over a document of one figure, counting the pictures it is
// asked to draw. A zoom of 0 is Fit; any other is stepped to from Actual
// size, the view then centred on a point given in canvas units.
struct ShownStage {
    AnimationDocument document;
    Stage stage{document};
    int drawn = 0;

    ShownStage(double zoom, Point centre, const Pose &pose = test::startPose(), QSize size = {600, 500})
    {
        document.setFigure(Figure{pose}, ChangeKind::Reset);
        stage.setDrawer([this](Canvas &canvas) {
            ++drawn;
            drawScene(document.scene(), {}, canvas, kProgramCaption);
        });
        stage.resize(size);
        stage.show();
        for (stage.actualSize(); zoom > 0 && stage.zoom() != zoom;)
            stage.zoom() < zoom ? stage.zoomIn() : stage.zoomOut();
        if (zoom == 0)
            stage.fit();
        stage.horizontalScrollBar()->setValue(qRound(centre.x * 493 / 500 * zoom - stage.viewport()->width() / 2.0));
        stage.verticalScrollBar()->setValue(qRound(centre.y * 397 / 400 * zoom - stage.viewport()->height() / 2.0));
    }

    QPoint scrolled() const { return {stage.horizontalScrollBar()->value(), stage.verticalScrollBar()->value()}; }

    // Where a point in canvas units shows on the viewport, from the zoom
    // alone: a picture narrower than the view stands in its middle, a wider
    // one is scrolled.
    QPointF onScreen(Point at) const
    {
        const double z = stage.zoom();
        const auto along = [z](double pixels, double length, int room, int scrolled) {
            return (length * z <= room ? (room - length * z) / 2 : -scrolled) + pixels * z;
        };
        return {along(at.x * 493 / 500, 493, stage.viewport()->width(), scrolled().x()),
                along(at.y * 397 / 400, 397, stage.viewport()->height(), scrolled().y())};
    }

    // A point `off` pixels of the screen past the right hand, along the
    // forearm.
    QPoint pastHand(double off) const
    {
        const Joints joints = ComputeJoints(document.pose());
        const QPointF hand = onScreen(joints.rHand), along = hand - onScreen(joints.rElbow);
        return (hand + along * off / std::hypot(along.x(), along.y())).toPoint();
    }
};

} // namespace

Q_DECLARE_METATYPE(std::optional<zelbrook::ScenePick>)

class TestStage : public QObject
{
    Q_OBJECT

private slots:
    // The grab reaches six pixels of the screen at every zoom, a right-click
    // there finds what a press grabs, and Escape puts a drag back.
    void posingReachesAsFarOnTheScreenAtEveryZoom_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("off");
        QTest::addColumn<bool>("grabbed");
        const std::tuple<const char *, QSize, double> views[]{
            {"fit, wide", {800, 600}, 0},   {"fit, tall", {300, 500}, 0}, {"fit, large", {1600, 1000}, 0},
            {"actual size", {600, 500}, 1}, {"200%", {600, 500}, 2},      {"50%", {600, 500}, 0.5},
            {"800%", {600, 500}, 8},        {"150%", {500, 400}, 1.5}};
        for (const auto &[name, size, zoom] : views) {
            QTest::addRow("%s, 5 pixels off", name) << size << zoom << 5.0 << true;
            QTest::addRow("%s, 7 pixels off", name) << size << zoom << 7.0 << false;
        }
    }

    void posingReachesAsFarOnTheScreenAtEveryZoom()
    {
        QFETCH(QSize, size);
        QFETCH(double, zoom);
        QFETCH(double, off);
        QFETCH(bool, grabbed);
        ShownStage shown(zoom, ComputeJoints(test::startPose()).rHand, test::startPose(), size);
        const double fit = std::min((size.width() - 4) / 493.0, (size.height() - 4) / 397.0);
        QCOMPARE(qRound(shown.stage.zoom() * 100), qRound((zoom ? zoom : fit) * 100));
        QSignalSpy pressed(&shown.stage.posing(), &CanvasPosing::jointPressed);
        const QPoint at = shown.pastHand(off);
        QTest::mousePress(shown.stage.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseMove(shown.stage.viewport(), at + QPoint(0, 30));
        QCOMPARE(shown.document.pose() != test::startPose(), grabbed);
        QTest::keyClick(&shown.stage, Qt::Key_Escape);
        QTest::mouseRelease(shown.stage.viewport(), Qt::LeftButton, {}, at + QPoint(0, 30));
        QCOMPARE(shown.document.pose(), test::startPose());
        QCOMPARE(pressed.size(), grabbed ? 1 : 0);
        QSignalSpy asked(&shown.stage, &Stage::contextMenuAt);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, shown.stage.viewport()->mapToGlobal(at));
        QApplication::sendEvent(shown.stage.viewport(), &menu);
        QCOMPARE(asked.front().front().toPoint(), shown.stage.viewport()->mapToGlobal(at));
        const ScenePick hand{kFirstFigureId, Joint::RHand};
        QCOMPARE(asked.front().back().value<std::optional<ScenePick>>(), grabbed ? std::optional(hand) : std::nullopt);
    }

    // At a whole zoom the stage shows the exported picture at that zoom,
    // pixel for pixel; between two, the larger smoothly reduced; past eight
    // times, the picture at eight times enlarged pixel by pixel.
    void theStageShowsTheExportedPicture_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<Pose>("pose");
        QTest::newRow("actual size") << 1.0 << test::largeHeadPose();
        QTest::newRow("200%") << 2.0 << test::largeHeadPose();
        QTest::newRow("800%") << 8.0 << test::startPose();
        QTest::newRow("150%") << 1.5 << test::startPose();
    }

    void theStageShowsTheExportedPicture()
    {
        QFETCH(double, zoom);
        QFETCH(Pose, pose);
        ShownStage shown(zoom, {pose.hipX, pose.hipY}, pose, {700, 600});
        QImage screen = shown.stage.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = screen.devicePixelRatio(), scale = zoom * ratio;
        const QRectF picture = shown.stage.pictureRect();
        const QRectF visible = picture.intersected(QRectF(shown.stage.viewport()->rect()));
        const QRect onScreen((visible.topLeft() * ratio).toPoint(), (visible.size() * ratio).toSize());
        const int whole = std::min(8, int(std::ceil(scale)));
        QImage exported = Exporter().picture(Figure{pose}, kProgramCaption, whole);
        if (whole != scale)
            exported = exported.scaled(QSize(qRound(493 * scale), qRound(397 * scale)), Qt::IgnoreAspectRatio,
                                       whole == 8 ? Qt::FastTransformation : Qt::SmoothTransformation);
        screen.setDevicePixelRatio(1);
        QCOMPARE(screen.copy(onScreen), exported.copy(onScreen.translated(-(picture.topLeft() * ratio).toPoint())));
    }

    // Each notch of the wheel with Ctrl is one step; the picture's point
    // under the pointer stays under it.
    void ctrlWheelZoomsAboutThePointer_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<int>("notches");
        QTest::addColumn<double>("zoomed");
        QTest::newRow("in from actual size") << 1.0 << QPoint(100, 80) << 1 << 1.25;
        QTest::newRow("in four notches, past the largest") << 4.0 << QPoint(300, 250) << 4 << 8.0;
        QTest::newRow("out from 400%") << 4.0 << QPoint(50, 300) << -2 << 2.5;
    }

    void ctrlWheelZoomsAboutThePointer()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, pointer);
        QFETCH(int, notches);
        ShownStage shown(zoom, {250, 200}, test::startPose(), {400, 330});
        const auto under = [&] {
            const QRectF picture = shown.stage.pictureRect();
            return (pointer - picture.topLeft()) * 493 / picture.width();
        };
        const QPointF before = under();
        QWheelEvent wheel(pointer, shown.stage.viewport()->mapToGlobal(pointer), {}, {0, 120 * notches}, {},
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(shown.stage.viewport(), &wheel);
        QTEST(shown.stage.zoom(), "zoomed");
        QVERIFY(QLineF(under(), before).length() * shown.stage.zoom() <= 1.0);
    }

    // A middle drag scrolls the picture with the mouse, as far as it goes,
    // and draws it no more.
    void middleDragPans_data()
    {
        QTest::addColumn<QPoint>("way");
        QTest::newRow("left and down") << QPoint(-30, 20);
        QTest::newRow("past the top left") << QPoint(2000, 2000);
    }

    void middleDragPans()
    {
        QFETCH(QPoint, way);
        ShownStage shown(2.0, {200, 150}, test::startPose(), {400, 330});
        shown.stage.viewport()->repaint();
        const QPoint before = shown.scrolled(), from(100, 100);
        const int drawn = shown.drawn;
        QTest::mousePress(shown.stage.viewport(), Qt::MiddleButton, {}, from);
        QTest::mouseMove(shown.stage.viewport(), from + way);
        QTest::mouseRelease(shown.stage.viewport(), Qt::MiddleButton, {}, from + way);
        shown.stage.viewport()->repaint();
        QCOMPARE(shown.scrolled(), QPoint(qBound(0, before.x() - way.x(), shown.stage.horizontalScrollBar()->maximum()),
                                          qBound(0, before.y() - way.y(), shown.stage.verticalScrollBar()->maximum())));
        QCOMPARE(shown.drawn, drawn);
    }
};

QTEST_MAIN(TestStage)
#include "tst_stage.moc"
