// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"
#include "model/move_placement.h"

#include "test_support.h"

#include <QTest>

using namespace zelbrook;

namespace {

Figure at(float x, double y, double scale = 1, double rotation = 0, int pen = 2)
{
    Pose pose = test::startPose();
    pose.hipX = x;
    pose.hipY = y;
    pose.scale = scale;
    pose.rotation = rotation;
    return {pose, pen};
}

// A move of three keys whose hip goes 10 right and 20 up, then 30 right.
Animation threeStepMove()
{
    Figure second = at(238, 190);
    second.pose.lLegAngle1 = 3;
    return Animation({}, {Key(at(228, 210), 2, 1, Ease::Smooth), Key(second, 1, 3), Key(at(258, 210), 4, 0)});
}

} // namespace

class TestMovePlacement : public QObject
{
    Q_OBJECT

private slots:
    void placesTheMoveWhereTheFigureStands_data();
    void placesTheMoveWhereTheFigureStands();
    void insertsKeysAsOneStep_data();
    void insertsKeysAsOneStep();
    void posesAndMovesLandTheFigureSWay_data();
    void posesAndMovesLandTheFigureSWay();
};

void TestMovePlacement::placesTheMoveWhereTheFigureStands_data()
{
    QTest::addColumn<Figure>("standing");
    QTest::addColumn<QList<QPointF>>("hips");
    QTest::addColumn<bool>("onStage");
    // A quarter turn on screen takes 10 right to 10 up and 20 up to 20 left;
    // 90 degrees at 57.3 a radian is a hair more than a quarter turn.
    QTest::newRow("moved") << at(100, 300) << QList<QPointF>{{100, 300}, {110, 280}, {130, 300}} << true;
    QTest::newRow("scaled") << at(100, 300, 2) << QList<QPointF>{{100, 300}, {120, 260}, {160, 300}} << true;
    QTest::newRow("turned") << at(100, 300, 1, 90 / DEG_PER_RAD) << QList<QPointF>{{100, 300}, {80, 290}, {100, 270}}
                            << true;
    QTest::newRow("pen, off the top") << at(5, 5, 0.5, 0, 7) << QList<QPointF>{{5, 5}, {10, -5}, {20, 5}} << false;
    QTest::newRow("off the right") << at(480, 300) << QList<QPointF>{{480, 300}, {490, 280}, {510, 300}} << false;
}

void TestMovePlacement::placesTheMoveWhereTheFigureStands()
{
    QFETCH(Figure, standing);
    QFETCH(QList<QPointF>, hips);
    QFETCH(bool, onStage);
    const Figure other = at(400, 100);
    const Key current({KeyFigure{1, other}, KeyFigure{2, standing}}, 5, 6, Ease::Linear);
    const std::vector<Key> keys = placedMove(threeStepMove(), current, 2);
    QCOMPARE(keys.size(), std::size_t(3));
    QCOMPARE(bool(checkOnStage(keys, 2)), onStage);
    const int timing[3][3] = {{2, 1, 1}, {1, 3, 0}, {4, 0, 0}};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Figure &placed = keys[i].find(2)->figure;
        QCOMPARE(keys[i].find(1)->figure, other);
        QVERIFY2(std::abs(placed.pose.hipX - hips[int(i)].x()) < 0.01, qPrintable(QString::number(placed.pose.hipX)));
        QVERIFY2(std::abs(placed.pose.hipY - hips[int(i)].y()) < 0.01, qPrintable(QString::number(placed.pose.hipY)));
        QCOMPARE(placed.pose.scale, standing.pose.scale);
        QCOMPARE(placed.pose.rotation, standing.pose.rotation);
        QCOMPARE(placed.pose.lLegAngle1, i == 1 ? 3 : test::startPose().lLegAngle1);
        QCOMPARE(placed.penWidth, standing.penWidth);
        QCOMPARE((std::array{keys[i].hold, keys[i].tweens, int(keys[i].ease)}),
                 (std::array{timing[i][0], timing[i][1], timing[i][2]}));
    }
}

void TestMovePlacement::insertsKeysAsOneStep_data()
{
    QTest::addColumn<int>("keysBefore");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("hold");
    QTest::addColumn<bool>("taken");
    QTest::newRow("after the only key") << 1 << 0 << 1 << true;
    QTest::newRow("between keys") << 3 << 1 << 1000 << true;
    QTest::newRow("a hold no key can have") << 3 << 1 << 1001 << false;
}

void TestMovePlacement::insertsKeysAsOneStep()
{
    QFETCH(int, keysBefore);
    QFETCH(int, current);
    QFETCH(int, hold);
    QFETCH(bool, taken);
    AnimationDocument document;
    for (int i = 1; i < keysBefore; ++i)
        QVERIFY(document.addKey());
    document.setCurrentKey(std::size_t(current));
    const Animation before = document.animation();
    const bool couldUndo = document.canUndo();
    std::vector<Key> keys = placedMove(threeStepMove(), before.key(std::size_t(current)), 1);
    keys[2].hold = hold;
    QCOMPARE(bool(document.insertKeys(std::size_t(current) + 1, keys, 1)), taken);
    if (!taken) {
        QCOMPARE((std::pair{document.animation().keys(), document.canUndo()}), (std::pair{before.keys(), couldUndo}));
        return;
    }
    QCOMPARE(document.animation().keyCount(), std::size_t(keysBefore) + 3);
    QCOMPARE(document.currentKey(), std::size_t(current) + 3);
    QCOMPARE(document.animation().key(std::size_t(current) + 2), keys[1]);
    QVERIFY(document.undo());
    QCOMPARE(document.animation().keys(), before.keys());
    QCOMPARE(document.currentKey(), std::size_t(current));
    QVERIFY(document.redo());
    QCOMPARE(document.animation().key(std::size_t(current) + 3), keys[2]);
    QCOMPARE(document.currentKey(), std::size_t(current) + 3);
}

// Shelf poses and moves land as the figure faces, or the other way: mirrored,
// a body 10 degrees right of upright leans 10 left, a hip 10 right goes left.
void TestMovePlacement::posesAndMovesLandTheFigureSWay_data()
{
    QTest::addColumn<bool>("facesLeft");
    QTest::addColumn<bool>("otherWay");
    QTest::addColumn<bool>("landsLeft");
    QTest::newRow("facing right") << false << false << false;
    QTest::newRow("facing left") << true << false << true;
    QTest::newRow("facing right, the other way") << false << true << true;
    QTest::newRow("facing left, the other way") << true << true << false;
}

void TestMovePlacement::posesAndMovesLandTheFigureSWay()
{
    QFETCH(bool, facesLeft);
    QFETCH(bool, otherWay);
    QFETCH(bool, landsLeft);
    Figure current = at(100, 300);
    current.facing = facesLeft ? Facing::Left : Facing::Right;
    current.pin(Limb::LFoot) = Point{1, 2};
    Pose shelf = test::startPose();
    shelf.bodyAngle = 80 / 57.3;
    const Landing landing = otherWay ? Landing::OtherWay : Landing::AsFacing;
    const Figure landed = landedFigure(current, shelf, landing);
    const Figure moved = placedMove(threeStepMove(), Key(current), 1, landing)[1].find(1)->figure;
    QCOMPARE(landed.facing, landsLeft ? Facing::Left : Facing::Right);
    QVERIFY(!landed.hasPins());
    QCOMPARE(landed.pose.bodyAngle * 57.3, landsLeft ? 100.0 : 80.0);
    QCOMPARE(moved.pose.hipX, landsLeft ? 90.0f : 110.0f);
    QCOMPARE(moved.facing, landed.facing);
    QVERIFY(!moved.hasPins());
}

QTEST_GUILESS_MAIN(TestMovePlacement)
#include "tst_move_placement.moc"
