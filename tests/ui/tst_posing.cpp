// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include "model/limb.h"
#include "posefile/pose_writer.h"
#include "render/joints.h"
#include "ui/pin_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include <cmath>

using namespace zelbrook;

namespace {

struct LeftArm {
    Point elbow;
    Point hand;
};

LeftArm leftArm(const Pose &pose)
{
    const Joints joints = ComputeJoints(pose);
    return {joints.lElbow, joints.lHand};
}

} // namespace

class TestPosing : public QObject
{
    Q_OBJECT

private slots:
    // The hand's direction from the elbow turns by 30 program degrees; the
    // mouse is put far out along the new direction so that whole pixels do
    // not blur it. The forearm slider goes from 94 to 124.
    void dragTheLeftHandThenUndoAndRedo()
    {
        ActiveWindow w;
        const Pose start = w.window->pose();
        const LeftArm arm = leftArm(start);
        // The turn is measured from where the press lands, a whole pixel.
        const QPoint press = w.onCanvas(arm.hand.x, arm.hand.y) - w.window->Picture1()->contentsRect().topLeft();
        const Point pressed{press.x() * 500.0 / 493, press.y() * 400.0 / 397};
        const double direction = std::atan2(-(pressed.y - arm.elbow.y), pressed.x - arm.elbow.x) + 30 / 57.3;
        const Point far{arm.elbow.x + 150 * std::cos(direction), arm.elbow.y - 150 * std::sin(direction)};
        QWidget *canvas = w.window->Picture1();
        QTest::mousePress(canvas, Qt::LeftButton, {}, w.onCanvas(arm.hand.x, arm.hand.y));
        QTest::mouseMove(canvas, w.onCanvas(far.x, far.y));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, w.onCanvas(far.x, far.y));
        QCOMPARE(w.slider("larmAngle2Scroll")->Value(), 124);
        QCOMPARE(w.text("larmAngle2Display"), QStringLiteral("124"));
        QCOMPARE(w.window->pose().lArmAngle2, 124 / 57.3);
        QCOMPARE(w.window->pose().armLength2, start.armLength2);

        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.window->pose(), start);
        QCOMPARE(w.slider("larmAngle2Scroll")->Value(), 94);
        QCOMPARE(w.text("larmAngle2Display"), QStringLiteral("94"));
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(w.slider("larmAngle2Scroll")->Value(), 124);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(w.window->pose().lArmAngle2, 124 / 57.3);
    }

    // A thumb drag, and an arrow key held down, are one step each: one undo
    // takes the whole of each back.
    void aGestureIsOneStep()
    {
        ActiveWindow w;
        Slider *length = w.slider("BodyLengthScroll");
        length->setSliderDown(true);
        for (int position : {40, 45, 50})
            length->setSliderPosition(position);
        length->setSliderDown(false);
        Slider *angle = w.slider("BodyangleScroll");
        angle->setFocus();
        for (bool repeated : {false, true, true, true}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), repeated);
            QApplication::sendEvent(angle, &press);
        }
        QCOMPARE(angle->Value(), 4);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(angle->Value(), 0);
        QCOMPARE(length->Value(), 50);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(length->Value(), 35);
        QVERIFY(!w.window->document().canUndo());
    }

    // Whatever ends a drag other than its release puts everything back and
    // leaves no step; the release and a later move without a button that
    // still reach the canvas do nothing.
    void aDragThatLosesTheMouseIsUndone_data()
    {
        QTest::addColumn<int>("interruption");
        QTest::newRow("Escape") << 0;
        QTest::newRow("right click opens the menu") << 1;
        QTest::newRow("focus moves to a slider") << 2;
        QTest::newRow("another window becomes active") << 3;
        QTest::newRow("the release went elsewhere") << 4;
    }

    void aDragThatLosesTheMouseIsUndone()
    {
        QFETCH(int, interruption);
        ActiveWindow w;
        const auto before = w.state();
        const Pose start = w.window->pose();
        QWidget *canvas = w.window->Picture1();
        QWindow *window = w.window->windowHandle();
        // Through the window, as the system delivers them, so that a right
        // press brings the menu up.
        const auto at = [&](double x, double y) { return canvas->mapTo(w.window.get(), w.onCanvas(x, y)); };
        const QPoint moved = at(start.hipX + 40, start.hipY - 30);
        QTest::mousePress(window, Qt::LeftButton, {}, at(start.hipX, start.hipY));
        QTest::mouseMove(window, moved);
        QVERIFY(w.window->pose().hipX > start.hipX + 30);
        QWidget other;
        if (interruption == 0)
            QTest::keyClick(canvas, Qt::Key_Escape);
        if (interruption == 1) {
            QTest::mousePress(window, Qt::RightButton, {}, moved);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTest::mouseRelease(window, Qt::RightButton, {}, moved);
        }
        if (interruption == 2)
            w.slider("BodyangleScroll")->setFocus();
        if (interruption == 3) {
            other.show();
            QApplication::setActiveWindow(&other);
        }
        if (interruption == 4) {
            QMouseEvent noButton(QEvent::MouseMove, moved, moved, Qt::NoButton, Qt::NoButton, {});
            QApplication::sendEvent(canvas, &noButton);
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, moved);
        QTest::mouseMove(window, at(start.hipX + 90, start.hipY + 20));
        QCOMPARE(w.state(), before);
        QVERIFY(!w.window->document().canUndo());
    }

    void pastingABadTextChangesNothing()
    {
        ActiveWindow w;
        const auto before = w.state();
        QApplication::clipboard()->setText(QStringLiteral("10135,35,abc"));
        w.window->Picture1()->setFocus();
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_V));
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].startsWith("Could not paste:"), qPrintable(w.messages[0]));
        QVERIFY(w.messages[0].contains("item 3 (bodyAngle)"));
        QCOMPARE(w.state(), before);
        QVERIFY(!w.window->document().canUndo());
    }

    // A pose copied as text comes back through paste as an open brings it:
    // the body slider rounds 1 radian to 33 and moves there.
    void copyAndPasteAPoseAsText()
    {
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        QCOMPARE(QApplication::clipboard()->text().toStdString(), writePoseFile(w.window->pose()));
        Pose oneRadian = w.window->pose();
        oneRadian.bodyAngle = 1.0;
        QApplication::clipboard()->setText(QString::fromStdString(writePoseFile(oneRadian)));
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_V));
        QVERIFY(w.messages.isEmpty());
        QCOMPARE(w.slider("BodyangleScroll")->Value(), 33);
        QCOMPARE(w.window->pose().bodyAngle, 57 / 57.3);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.window->pose().bodyAngle, 90 / 57.3);
    }

    void mirrorTwiceAndNewPose()
    {
        ActiveWindow w;
        const auto start = w.state();
        QVERIFY(w.slider("RotateScroll")->setValue(30));
        const auto turned = w.state();
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(w.slider("RotateScroll")->Value(), -30);
        QCOMPARE(w.slider("llegAngle1Scroll")->Value(), 274); // 180 - 266, once round
        QCOMPARE(w.slider("BodyangleScroll")->Value(), 0);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(w.state().positions, turned.positions);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(w.state(), start);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.state().positions, turned.positions);
    }

    // Pins and Reach by hand on the canvas: P over an end, the menu over
    // one, Unpin all, and drags that reach. Every pinned end stays at its
    // pin; a reaching hand ends where it was let go, to a slider step.
    void pinAndReachByHand_data()
    {
        QTest::addColumn<QString>("gestures");
        QTest::addColumn<bool>("reached");
        QTest::addColumn<QString>("pinned");
        QTest::newRow("P over the right foot") << "P rFoot" << false << "rFoot";
        QTest::newRow("P twice frees it") << "P rFoot,P rFoot" << false << "";
        QTest::newRow("P over a knee pins nothing") << "P lKnee" << false << "";
        QTest::newRow("the menu over the left hand") << "menu lHand" << false << "lHand";
        QTest::newRow("Unpin all") << "P rFoot,menu lHand,unpin all" << false << "";
        QTest::newRow("hip drag keeps the foot") << "P rFoot,drag hip" << false << "rFoot";
        QTest::newRow("Shift drag reaches") << "shift drag" << true << "";
        QTest::newRow("a drag with Reach on reaches") << "reach on,drag" << true << "";
        QTest::newRow("a plain drag turns the forearm") << "drag" << false << "";
    }

    void pinAndReachByHand()
    {
        QFETCH(QString, gestures);
        QFETCH(bool, reached);
        QFETCH(QString, pinned);
        ActiveWindow w;
        QWidget *canvas = w.window->Picture1();
        const auto at = [&](const QString &joint) {
            const Pose &pose = w.window->pose();
            const Point point = joint == "hip"     ? Point{pose.hipX, pose.hipY}
                                : joint == "lKnee" ? ComputeJoints(pose).lKnee
                                                   : limbJoints(pose, *limbNamed(joint.toStdString())).end;
            return w.onCanvas(point.x, point.y);
        };
        // Nearer the shoulder than the forearm alone can reach.
        const LimbJoints arm = limbJoints(w.window->pose(), Limb::RHand);
        const Point target{arm.root.x + 0.6 * (arm.end.x - arm.root.x) + 8,
                           arm.root.y + 0.6 * (arm.end.y - arm.root.y)};
        for (const QString &gesture : gestures.split(',')) {
            const QString joint = gesture.section(' ', -1);
            if (gesture.startsWith("P ")) {
                QTest::mouseMove(canvas, {1, 1}); // a move to where the mouse is goes unseen
                QTest::mouseMove(canvas, at(joint));
                QTest::keyClick(canvas, Qt::Key_P);
            } else if (gesture.startsWith("menu")) {
                QContextMenuEvent menu(QContextMenuEvent::Mouse, at(joint), canvas->mapToGlobal(at(joint)));
                QApplication::sendEvent(canvas, &menu);
                w.window->findChild<QMenu *>()->close();
                w.window->findChild<QAction *>("pin")->trigger();
            } else if (gesture == "unpin all" || gesture == "reach on") {
                QAction *action = w.window->findChild<QAction *>(gesture == "reach on" ? "reach" : "unpinAll");
                action->isCheckable() ? action->setChecked(true) : action->trigger();
            } else {
                const QPoint from = at(joint == "hip" ? "hip" : "rHand");
                const QPoint to = joint == "hip" ? from + QPoint(8, 6) : w.onCanvas(target.x, target.y);
                const auto shift = gesture.startsWith("shift") ? Qt::ShiftModifier : Qt::NoModifier;
                QTest::mousePress(canvas, Qt::LeftButton, shift, from);
                QTest::mouseMove(canvas, to);
                QTest::mouseRelease(canvas, Qt::LeftButton, shift, to);
            }
        }
        const Figure &figure = w.window->document().figure();
        QStringList ends;
        for (const Limb limb : kLimbs) {
            if (const std::optional<Point> &pin = figure.pin(limb)) {
                ends << QString::fromLatin1(limbName(limb).data(), 5);
                const Point end = limbJoints(figure.pose, limb).end;
                QVERIFY(std::hypot(end.x - pin->x, end.y - pin->y) < 0.01);
            }
        }
        QCOMPARE(ends.join(','), pinned);
        const Point hand = limbJoints(figure.pose, Limb::RHand).end;
        QCOMPARE(std::hypot(hand.x - target.x, hand.y - target.y) < 2.5, reached);
    }

    void theContextMenuOffersEveryCommand()
    {
        ActiveWindow w;
        QMenu *menu = w.window->findChild<QMenu *>();
        QVERIFY(menu);
        QStringList offered;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                offered << action->text() + " " + action->shortcut().toString();
        }
        QCOMPARE(offered, QStringList({"Undo Ctrl+Z",
                                       "Redo Ctrl+Shift+Z",
                                       "Mirror Ctrl+M",
                                       "Swap sides Ctrl+Shift+W",
                                       "New pose Ctrl+N",
                                       "Copy pose as text Ctrl+Shift+C",
                                       "Paste pose Ctrl+V",
                                       "Animate Ctrl+T",
                                       "Add key Ctrl+K",
                                       "Delete key Ctrl+Shift+K",
                                       "Previous key Alt+Left",
                                       "Next key Alt+Right",
                                       "Move key earlier Ctrl+Shift+PgUp",
                                       "Move key later Ctrl+Shift+PgDown",
                                       "Play\tSpace ",
                                       "Reverse keys ",
                                       "New animation ",
                                       "Open animation… Ctrl+Shift+O",
                                       "Save animation Ctrl+Shift+S",
                                       "Save animation as… ",
                                       "Export animation… Ctrl+Shift+E",
                                       "Add figure Ctrl+Shift+N",
                                       "Duplicate figure Ctrl+D",
                                       "Delete figure\tDel ",
                                       "Bring forward Ctrl+Shift+Up",
                                       "Send backward Ctrl+Shift+Down",
                                       "Colour… ",
                                       "Pin\tP ",
                                       "Unpin all ",
                                       "Reach ",
                                       "Poses Ctrl+Shift+P"}));
        QVERIFY(!menu->actions()[0]->isEnabled());
        QVERIFY(w.slider("BodyLengthScroll")->setValue(50));
        QVERIFY(menu->actions()[0]->isEnabled());
        QVERIFY(!menu->actions()[1]->isEnabled());
        for (const QString &text : {QStringLiteral("10135"), QString()}) {
            QApplication::clipboard()->setText(text);
            QTRY_COMPARE(menu->actions()[8]->isEnabled(), !text.isEmpty());
        }
    }
};

QTEST_MAIN(TestPosing)
#include "tst_posing.moc"
