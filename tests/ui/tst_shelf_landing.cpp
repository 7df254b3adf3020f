// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "shelf_fixture.h"
#include "test_support.h"

#include "model/pose_mirror.h"
#include "posefile/animation_file.h"
#include "ui/pose_shelf_panel.h"
#include "ui/timeline_commands.h"

#include <QListView>

using namespace zelbrook;

// What a pose or a move from the shelf makes of the figure it lands on.
class TestShelfLanding : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }
    void putsPoseOnFigureInItsPlace_data();
    void putsPoseOnFigureInItsPlace();
    void insertsMoveWhereFigureStands_data();
    void insertsMoveWhereFigureStands();

private:
    test::TemporaryFolder m_data;
};

void TestShelfLanding::putsPoseOnFigureInItsPlace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPointF>("hip");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("rotation");
    QTest::addColumn<int>("pen");
    QTest::addColumn<QString>("how");
    QTest::newRow("click") << "Wave" << QPointF(120.5, 300) << 1.0 << 0.0 << 2 << "click";
    QTest::newRow("moved scaled turned") << "Kick" << QPointF(400, 90.25) << 2.3 << 1.2 << 5 << "enter";
    QTest::newRow("shrunk turned back") << "Lie down" << QPointF(-20, 410) << 0.5 << -3.0 << 1 << "enter";
    QTest::newRow("facing left") << "Point" << QPointF(200, 200) << 1.0 << 0.0 << 2 << "facing left: enter";
    QTest::newRow("the other way") << "Point" << QPointF(200, 200) << 1.0 << 0.0 << 2 << "Shift+click";
    QTest::newRow("facing left, other way") << "Kick" << QPointF(200, 200) << 1.0 << 0.0 << 2 << "left: Shift+Enter";
}

// The figure takes the same values as opening the pose file would give a
// figure facing right, mirrored about the hip where it lands the other way
// round: facing left, or with Shift. Open lands a pose so too.
void TestShelfLanding::putsPoseOnFigureInItsPlace()
{
    QFETCH(QString, name);
    QFETCH(QPointF, hip);
    QFETCH(double, scale);
    QFETCH(double, rotation);
    QFETCH(int, pen);
    QFETCH(QString, how);
    const bool facesLeft = how.contains("left"), shift = how.contains("Shift"), mirrored = facesLeft != shift;
    Figure start{test::startPose(), pen};
    start.pose = {float(hip.x()), hip.y(),  50.5, 0.3, 40, 41, 0.5, 0.6, 0.7, 0.8, 30, 31, 1, 2, -3, 20, 1.5,
                  0.95,           rotation, scale};
    Form1Fixture shelf, opened, reference;
    reference.window->document().setFigure(start, ChangeKind::Edit);
    start.facing = facesLeft ? Facing::Left : Facing::Right;
    shelf.window->document().setFigure(start, ChangeKind::Edit);
    opened.window->document().setFigure(start, ChangeKind::Edit);
    PoseShelfPanel *panel = shownShelf(*shelf.window, m_data.path("unused"));
    const int row = rowNamed(panel->shelf().poses(), name);
    QVERIFY(row >= 0);
    opened.window->openPose(panel->shelf().poses()[row].path);
    reference.window->openPose(panel->shelf().poses()[row].path);
    QListView *list = panel->poseList();
    list->setCurrentIndex(list->model()->index(row, 0));
    const Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
    if (how.endsWith("click"))
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualRect(list->currentIndex()).center());
    else
        QTest::keyClick(list, Qt::Key_Return, modifiers);
    const Figure &posed = shelf.window->document().figure();
    const Figure &facingRight = reference.window->document().figure();
    QCOMPARE(posed, mirrored ? mirrorFigure(facingRight) : facingRight);
    QCOMPARE(opened.window->document().figure(), facesLeft ? mirrorFigure(facingRight) : facingRight);
    QCOMPARE((std::tuple{posed.pose.hipX, posed.pose.hipY, posed.pose.scale, posed.pose.rotation, posed.penWidth}),
             (std::tuple{start.pose.hipX, start.pose.hipY, scale, rotation, pen}));
    QVERIFY(posed != start);
    QVERIFY(shelf.window->document().undo());
    QCOMPARE(shelf.window->document().figure(), start);
    QVERIFY(shelf.messages.isEmpty() && opened.messages.isEmpty() && reference.messages.isEmpty());
}

void TestShelfLanding::insertsMoveWhereFigureStands_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<bool>("twoFigures");
    QTest::addColumn<bool>("otherWay");
    QTest::newRow("wave") << "Wave" << false << false;
    QTest::newRow("jump beside another figure") << "Jump" << true << false;
    QTest::newRow("Shift+Enter: jump the other way") << "Jump" << false << true;
}

// Every key of a move that stays in place comes in after the current key,
// the figure's hip moved by the move's own hip offsets from its first key,
// mirrored across for a move the other way.
void TestShelfLanding::insertsMoveWhereFigureStands()
{
    QFETCH(QString, move);
    QFETCH(bool, twoFigures);
    QFETCH(bool, otherWay);
    Form1Fixture fixture;
    AnimationDocument &document = fixture.window->document();
    if (twoFigures)
        QVERIFY(document.addFigure(Figure{test::startPose()}));
    Figure standing = document.figure();
    standing.pose.hipX = 61.5;
    standing.pose.hipY = 333;
    document.setFigure(standing, ChangeKind::Edit);
    const Animation before = document.animation();
    PoseShelfPanel *panel = shownShelf(*fixture.window, m_data.path("unused"));
    const int row = rowNamed(panel->shelf().moves(), move);
    const Animation file =
        readAnimationFile(test::fileBytes(panel->shelf().moves()[row].path).toStdString(), test::startPose()).value();
    panel->moveList()->setCurrentIndex(panel->moveList()->model()->index(row, 0));
    QTest::keyClick(panel->moveList(), Qt::Key_Enter, otherWay ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(document.animation().keyCount(), 1 + file.keyCount());
    QCOMPARE(document.currentKey(), file.keyCount());
    for (std::size_t i = 0; i < file.keyCount(); ++i) {
        const Key &key = document.animation().key(i + 1);
        const Pose &placed = key.find(document.currentFigure())->figure.pose;
        const Pose &source = file.key(i).figures.front().figure.pose;
        const float across = source.hipX - file.key(0).figures.front().figure.pose.hipX;
        QCOMPARE(placed.hipX, 61.5f + (otherWay ? -across : across));
        QCOMPARE(placed.hipY, 333 + (source.hipY - file.key(0).figures.front().figure.pose.hipY));
        QCOMPARE(key.find(document.currentFigure())->figure.facing, otherWay ? Facing::Left : Facing::Right);
        QVERIFY(otherWay || placed.bodyAngle == source.bodyAngle);
        QCOMPARE((std::tuple{key.hold, key.tweens, key.ease}),
                 (std::tuple{file.key(i).hold, file.key(i).tweens, file.key(i).ease}));
        for (const KeyFigure &other : before.key(0).figures)
            QVERIFY(other.id == document.currentFigure() || *key.find(other.id) == other);
    }
    QVERIFY(fixture.window->timeline().isShown());
    QVERIFY(document.undo());
    QCOMPARE(document.animation().keys(), before.keys());
}

QTEST_MAIN(TestShelfLanding)
#include "tst_shelf_landing.moc"
