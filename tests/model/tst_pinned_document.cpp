// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_keys.h"
#include "test_support.h"

#include "model/animation_document.h"
#include "model/pose_mirror.h"
#include "model/side_swap.h"

#include <QTest>

#include <cmath>

using namespace zelbrook;

namespace {

// The names of the ends the figure has pinned.
QString pinnedEnds(const Figure &figure)
{
    QStringList ends;
    for (const Limb limb : kLimbs)
        ends << (figure.pin(limb) ? QString::fromUtf8(limbName(limb).data(), 5) : QString());
    ends.removeAll(QString());
    return ends.join(' ');
}

// One change of a figure whose feet and left hand are pinned.
Status changePinned(AnimationDocument &document, const QString &change)
{
    Figure moved = document.figure();
    moved.pose.hipX += 10;
    moved.pose.hipY += 8;
    return change == "hip drag"       ? document.editFigure(moved, ChangeKind::Edit)
           : change == "thigh slider" ? (document.setPosition(FieldId::LegLength1, 35), Status{})
           : change == "typed body"   ? (document.setPosition(FieldId::BodyAngle, 20), Status{})
           : change == "own slider"   ? (document.setPosition(FieldId::LLegAngle1, 200), Status{})
           : change == "reach"        ? document.reachTo(Limb::RHand, {225, 160})
           : change == "pin"          ? document.pin(Limb::RHand)
           : change == "unpin"        ? document.unpin(Limb::LFoot)
           : change == "unpin all"    ? document.unpinAll()
           : change == "mirror"       ? document.editFigure(mirrorFigure(document.figure()), ChangeKind::Edit)
           : change == "swap sides"   ? document.editFigure(swapSides(document.figure()), ChangeKind::Edit)
                                      : document.setFacing(Facing::Left);
}

} // namespace

// The document's figures with pinned hands and feet.
class TestPinnedDocument : public QObject
{
    Q_OBJECT

private slots:
    // Each change of a figure with its feet and left hand pinned is one step
    // that undo takes back exactly; pinned ends stay at their pins, or are
    // pinned where they now are after a mirror or a swap.
    void posingKeepsPinnedEnds_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("pinned");
        const auto row = [](const char *change, const char *pinned) { QTest::newRow(change) << change << pinned; };
        for (const char *change : {"hip drag", "thigh slider", "typed body", "reach", "mirror", "swap sides", "face"})
            row(change, "lHand lFoot rFoot");
        row("own slider", "lHand rFoot");
        row("pin", "lHand rHand lFoot rFoot");
        row("unpin", "lHand rFoot");
        row("unpin all", "");
    }
    void posingKeepsPinnedEnds()
    {
        QFETCH(QString, change);
        QFETCH(QString, pinned);
        Figure start = startFigure();
        start.pose.hipX = 200;
        for (const Limb limb : {Limb::LFoot, Limb::RFoot, Limb::LHand})
            start.pin(limb) = limbJoints(start.pose, limb).end;
        AnimationDocument document;
        document.replaceAnimation(Animation(start));
        int told = 0;
        document.addObserver([&](const FigureChange &changed) { told += changed.pinsOrFacing ? 1 : 0; });
        QVERIFY(changePinned(document, change));
        const Figure after = document.figure();
        QCOMPARE(told, int(after.pins != start.pins || after.facing != start.facing));
        QCOMPARE(pinnedEnds(after), pinned);
        QCOMPARE(after.facing, change == "mirror" || change == "face" ? Facing::Left : Facing::Right);
        for (const Limb limb : kLimbs) {
            const Point end = limbJoints(after.pose, limb).end;
            const std::optional<Point> &pin = after.pin(limb);
            QVERIFY(!pin || std::hypot(end.x - pin->x, end.y - pin->y) <= 0.01);
            QVERIFY(!pin || !start.pin(limb) || change == "mirror" || change == "swap sides" || pin == start.pin(limb));
        }
        const Point hand = limbJoints(after.pose, Limb::RHand).end;
        QVERIFY(change != "reach" || std::hypot(hand.x - 225, hand.y - 160) < 1);
        QVERIFY(change != "reach" || after.pose.rArmAngle1 * 57.3 == std::round(after.pose.rArmAngle1 * 57.3));
        QVERIFY(document.undo());
        QCOMPARE(document.figure(), start);
        QVERIFY(!document.canUndo());
    }

    // Mirror and Swap sides on a run of keys change the current figure in
    // each key of the run as one step, pins and all.
    void mirrorAndSwapActOnARunOfKeys_data()
    {
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("mirror two keys") << true << 0 << 1;
        QTest::newRow("swap the last two") << false << 1 << 2;
    }
    void mirrorAndSwapActOnARunOfKeys()
    {
        QFETCH(bool, mirror);
        QFETCH(int, first);
        QFETCH(int, last);
        std::vector<Key> keys;
        for (int i = 0; i < 3; ++i) {
            keys.push_back(keyOf({1, 2}, 100, 80 + 5 * i, 1, 2));
            keys.back().find(1)->figure.pose.lLegAngle1 = (250 + 10 * i) / 57.3;
            keys.back().find(1)->figure.pin(Limb::RFoot) = Point{0, 0};
        }
        AnimationDocument document;
        document.replaceAnimation(Animation({}, keys));
        QVERIFY(mirror ? document.mirrorInKeys({std::size_t(first), std::size_t(last)})
                       : document.swapSidesInKeys({std::size_t(first), std::size_t(last)}));
        for (std::size_t i = 0; i < 3; ++i) {
            const Figure &was = keys[i].find(1)->figure;
            const bool inRun = int(i) >= first && int(i) <= last;
            const Figure expected = !inRun ? was : mirror ? mirrorFigure(was) : swapSides(was);
            QCOMPARE(document.animation().key(i).find(1)->figure, expected);
        }
        QVERIFY(document.undo());
        QCOMPARE(document.animation().keys(), keys);
        QVERIFY(!document.canUndo());
    }
};

QTEST_APPLESS_MAIN(TestPinnedDocument)
#include "tst_pinned_document.moc"
