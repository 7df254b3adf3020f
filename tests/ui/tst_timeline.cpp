// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "render/joint_picker.h"
#include "ui/action_table.h"
#include "ui/canvas_aids.h"
#include "ui/timeline_cells.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"
#include "ui/workspace/window_faces.h"
#include "ui/workspace/workspace_window.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace zelbrook;

namespace {

// Every control of today's window with its place and whether it shows.
QStringList layoutOf(const Form1 &window)
{
    QStringList rows{QStringLiteral("%1x%2").arg(window.width()).arg(window.height())};
    for (QWidget *child : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        // The strip of keys lives in the workspace's timeline once it has shown.
        if (child->objectName() == QStringLiteral("Timeline"))
            continue;
        const QRect g = child->geometry();
        rows << child->objectName()
                    + QStringLiteral(" %1,%2 %3x%4 %5")
                          .arg(g.x())
                          .arg(g.y())
                          .arg(g.width())
                          .arg(g.height())
                          .arg(child->isVisibleTo(&window));
    }
    return rows;
}

bool hasColor(const QImage &image, QRgb color)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto *pixels = reinterpret_cast<const QRgb *>(rgb.constBits());
    return std::find(pixels, pixels + rgb.width() * rgb.height(), color | 0xFF000000u)
           != pixels + rgb.width() * rgb.height();
}

QImage rgb(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

// The colour of the picture at a point given in canvas units.
QRgb colorAt(const ActiveWindow &w, Point at)
{
    const QPoint pixel = w.onCanvas(at.x, at.y) - w.window->Picture1()->contentsRect().topLeft();
    return w.picture().pixel(pixel) & 0xFFFFFFu;
}

Point jointOf(const Form1 &window, Joint joint)
{
    return jointPoint(joint, window.pose(), ComputeJoints(window.pose()));
}

} // namespace

class TestTimeline : public QObject
{
    Q_OBJECT

private slots:
    // Ctrl+T turns the poser into the workspace, with the timeline in its
    // panel; Animate in the workspace's menu gives back the poser as it was.
    void animateTurnsTheWindowsFace()
    {
        ActiveWindow w;
        const QStringList today = layoutOf(*w.window);
        QCOMPARE(today.first(), QStringLiteral("717x524"));
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_T));
        WorkspaceWindow *workspace = w.window->faces().workspace();
        QVERIFY(workspace && workspace->isVisible() && !w.window->isVisible());
        QVERIFY(
            workspace->dock(WorkspaceWindow::Panel::Timeline)->widget()->isAncestorOf(w.window->timeline().strip()));
        QVERIFY(workspace->maximumWidth() > workspace->width() && workspace->menuBar()->actions().size() == 7);
        QAction *toggle = workspace->command(ActionId::Animate);
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(w.window->isVisible() && !workspace->isVisible());
        QCOMPARE(layoutOf(*w.window), today);
    }

    // Keys pressed in turn, then the keys, the current one and which of
    // delete, previous, next, earlier and later can act.
    void keyCommands_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("enabled");

        QTest::newRow("one key") << "" << 1 << 0 << "00000";
        QTest::newRow("add") << "Ctrl+K" << 2 << 1 << "11010";
        QTest::newRow("add twice, previous") << "Ctrl+K,Ctrl+K,Alt+Left" << 3 << 1 << "11111";
        QTest::newRow("previous stops at the first") << "Ctrl+K,Alt+Left,Alt+Left" << 2 << 0 << "10101";
        QTest::newRow("delete") << "Ctrl+K,Ctrl+K,Ctrl+Shift+K" << 2 << 1 << "11010";
        QTest::newRow("move earlier") << "Ctrl+K,Ctrl+Shift+PgUp" << 2 << 0 << "10101";
        QTest::newRow("undo an add") << "Ctrl+K,Ctrl+K,Ctrl+Z" << 2 << 1 << "11010";
    }

    void keyCommands()
    {
        QFETCH(QString, pressed);
        QFETCH(int, keys);
        QFETCH(int, current);
        QFETCH(QString, enabled);
        ActiveWindow w;
        for (const QString &sequence : pressed.split(',', Qt::SkipEmptyParts))
            w.keys(QKeySequence(sequence));
        QCOMPARE(int(w.window->document().animation().keyCount()), keys);
        QCOMPARE(int(w.window->document().currentKey()), current);
        QCOMPARE(w.window->timeline().isShown(), keys > 1);
        QMenu *menu = w.window->findChild<QMenu *>();
        emit menu->aboutToShow();
        QString state;
        for (int i = 12; i < 17; ++i)
            state += menu->actions().at(i)->isEnabled() ? '1' : '0';
        QCOMPARE(state, enabled);
    }

    // A click takes the key's exact values, rounds nothing and is no step.
    void clickingACellShowsItsKey()
    {
        ActiveWindow w;
        Figure exact = w.window->document().figure();
        exact.pose.headWidth = 0.705;
        w.window->document().replaceAnimation(Animation(Playback{}, {Key{exact}, Key{Figure{}}}));
        w.window->timeline().setShown(true);
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Right));
        TimelineCells *cells = w.window->timeline().strip()->cells();
        QTest::mouseClick(cells, Qt::LeftButton, {}, cells->cellRect(0).center());
        QCOMPARE(w.window->document().currentKey(), std::size_t(0));
        QCOMPARE(w.window->pose().headWidth, 0.705);
        QCOMPARE(w.text("headwidthDisplay"), QStringLiteral("0.705"));
        QCOMPARE(w.slider("HeadwidthScroll")->Value(), 70);
        QVERIFY(!w.window->document().canUndo());
    }

    void aKeyPictureIsDrawnOnlyWhenItsKeyChanges()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = w.window->timeline().strip()->cells();
        cells->grab();
        const int drawn = cells->picturesDrawn();
        QVERIFY(w.slider("BodyangleScroll")->setValue(90));
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Right));
        cells->grab();
        QCOMPARE(cells->picturesDrawn(), drawn + 1);
    }

    // The screen shows the keys before and after in their colours; the
    // copied and saved pictures never do.
    void onionSkinOnlyOnScreen()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        QVERIFY(hasColor(w.picture(), kPreviousKeyColor));
        QVERIFY(hasColor(w.picture(), kNextKeyColor));
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Right));
        QVERIFY(!hasColor(w.picture(), kNextKeyColor));
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Left));
        const QImage alone = Exporter().picture(w.window->document().figure(), kProgramCaption);
        w.keys(QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 alone.convertToFormat(QImage::Format_RGB32));
        const QTemporaryDir folder;
        const QString bitmap = folder.filePath(QStringLiteral("onion.bmp"));
        w.answers = {bitmap};
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(QImage(bitmap).convertToFormat(QImage::Format_RGB32), alone.convertToFormat(QImage::Format_RGB32));
        w.window->timeline().play();
        QVERIFY(!hasColor(w.picture(), kPreviousKeyColor));
    }

    // Playing shows frames without ghosts; an edit stops it, takes effect
    // on the current key, and the screen shows that key again.
    void anEditStopsPlaying()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        w.window->Picture1()->setFocus();
        QTest::keyClick(w.window->Picture1(), Qt::Key_Space);
        QVERIFY(w.window->timeline().isPlaying());
        QVERIFY(!hasColor(w.picture(), kPreviousKeyColor));
        QVERIFY(w.slider("BodyangleScroll")->setValue(45));
        QVERIFY(!w.window->timeline().isPlaying());
        QCOMPARE(w.window->document().currentKey(), std::size_t(1));
        QCOMPARE(w.window->pose().bodyAngle, 45 / 57.3);
        QVERIFY(hasColor(w.picture(), kPreviousKeyColor));
    }

    // The screen shows the path in green and the left thigh in grey; the
    // copied picture, the bitmap and an exported animation never show them,
    // and playing hides the path.
    void onlyTheScreenShowsThem_data()
    {
        QTest::addColumn<bool>("sides");
        QTest::addColumn<bool>("path");
        QTest::newRow("sides") << true << false;
        QTest::newRow("path by its key") << false << true;
        QTest::newRow("both") << true << true;
    }

    void onlyTheScreenShowsThem()
    {
        QFETCH(bool, sides);
        QFETCH(bool, path);
        ActiveWindow w;
        w.makeThreeKeys();
        if (path)
            w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
        w.window->timeline().strip()->findChild<QCheckBox *>(QStringLiteral("Sides"))->setChecked(sides);
        QCOMPARE(hasColor(w.picture(), kMotionPathColor), path);
        const Point hip{w.window->pose().hipX, w.window->pose().hipY}, knee = ComputeJoints(w.window->pose()).lKnee;
        QCOMPARE(colorAt(w, {(hip.x + knee.x) / 2, (hip.y + knee.y) / 2}), sides ? 0x8C8C8Cu : 0u);
        const QImage alone = Exporter().picture(w.window->document().scene(), kProgramCaption);
        w.keys(QKeySequence::Copy);
        QCOMPARE(rgb(QGuiApplication::clipboard()->image()), rgb(alone));
        const QTemporaryDir folder;
        w.answers = {folder.filePath(QStringLiteral("aids.bmp")), folder.filePath(QStringLiteral("aids.png"))};
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(rgb(QImage(folder.filePath(QStringLiteral("aids.bmp")))), rgb(alone));
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        const QImage first = Exporter().picture(w.window->document().animation().sceneAt({0, 0, 0}), kProgramCaption);
        QCOMPARE(rgb(QImage(folder.filePath(QStringLiteral("aids.png")))), rgb(first));
        w.window->timeline().play();
        QVERIFY(!hasColor(w.picture(), kMotionPathColor));
    }

    // An edit works the path out once, a press on a joint (the right hand
    // until then) makes it that joint's, and a redraw alone keeps it; the
    // current key's dot covers the joint. A drag works out only the frames
    // about its key, and the path is the one traced from scratch, the
    // in-betweens from the last key back to the first included.
    void thePathFollowsEditsAndPresses_data()
    {
        QTest::addColumn<int>("change"); // 0 a slider, 1 the in-betweens, 2 a redraw, 3 a press on the left foot,
                                         // 4 a drag of the right hand
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("traced");
        QTest::addColumn<int>("joint");
        QTest::newRow("slider") << 0 << 1 << 1 << int(Joint::RHand);
        QTest::newRow("in-betweens") << 1 << 1 << 1 << int(Joint::RHand);
        QTest::newRow("redraw") << 2 << 1 << 0 << int(Joint::RHand);
        QTest::newRow("left foot pressed") << 3 << 1 << 1 << int(Joint::LFoot);
        QTest::newRow("drag in the middle key") << 4 << 1 << 2 << int(Joint::RHand);
        QTest::newRow("drag in the first key") << 4 << 0 << 2 << int(Joint::RHand);
    }

    void thePathFollowsEditsAndPresses()
    {
        QFETCH(int, change);
        QFETCH(int, key);
        QFETCH(int, joint);
        ActiveWindow w;
        w.makeThreeKeys();
        AnimationDocument &document = w.window->document();
        for (const std::size_t timed : {0, 1, 2}) {
            document.setCurrentKey(timed);
            QVERIFY(document.setKeyTiming(1, timed + 2, Ease::Smooth));
        }
        document.setCurrentKey(std::size_t(key));
        w.window->timeline().strip()->pathBox()->setChecked(true);
        const CanvasAids &aids = *w.window->findChild<CanvasAids *>();
        const int before = aids.pathsTraced();
        const Point foot = jointOf(*w.window, Joint::LFoot), hand = jointOf(*w.window, Joint::RHand);
        if (change == 0)
            QVERIFY(w.slider("BodyangleScroll")->setValue(75));
        else if (change == 1)
            w.window->timeline().strip()->findChildren<QSpinBox *>().at(1)->setValue(5);
        else if (change == 2)
            w.window->DrawMan();
        else if (change == 3)
            QTest::mouseClick(w.window->Picture1(), Qt::LeftButton, {}, w.onCanvas(foot.x, foot.y));
        else {
            QTest::mousePress(w.window->Picture1(), Qt::LeftButton, {}, w.onCanvas(hand.x, hand.y));
            QTest::mouseMove(w.window->Picture1(), w.onCanvas(hand.x + 30, hand.y - 20));
            QTest::mouseMove(w.window->Picture1(), w.onCanvas(hand.x - 10, hand.y + 25));
            QTest::mouseRelease(w.window->Picture1(), Qt::LeftButton, {}, w.onCanvas(hand.x - 10, hand.y + 25));
            QVERIFY(jointOf(*w.window, Joint::RHand) != hand);
        }
        QTEST(aids.pathsTraced() - before, "traced");
        QCOMPARE(int(aids.pathJoint()), joint);
        QCOMPARE(colorAt(w, jointOf(*w.window, Joint(joint))), kMotionPathColor);
        const MotionPath whole = traceMotionPath(document.animation(), document.currentFigure(), Joint(joint));
        QCOMPARE(aids.aids().path->dots, whole.dots);
        QCOMPARE(aids.aids().path->closed, whole.closed);
    }

    // Playing marks the key being played; a looping animation shows the
    // in-betweens back to the first key after the last.
    void playingMarksItsKey()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = w.window->timeline().strip()->cells();
        const int looping = cells->sizeHint().width();
        QVERIFY(w.window->document().setPlayback({12, false}));
        QCOMPARE(looping - cells->sizeHint().width(), TimelineCells::kGap);
        QVERIFY(w.window->document().setPlayback({12, true}));
        w.window->timeline().play();
        for (const std::size_t key : {2, 0, 1})
            QTRY_COMPARE(cells->playedKey(), std::optional(key));
        w.window->timeline().stop();
        QCOMPARE(cells->playedKey(), std::nullopt);
    }
};

QTEST_MAIN(TestTimeline)
#include "tst_timeline.moc"
