// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"
#include "model/pose_mirror.h"
#include "model/side_swap.h"

#include "test_support.h"

#include <QTest>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

using namespace zelbrook;
using test::kCanvasWidth;

Q_DECLARE_METATYPE(zelbrook::Pose)

namespace {

QStringList names(std::span<const PoseField *const> fields)
{
    QStringList list;
    for (const PoseField *field : fields)
        list << QString::fromUtf8(field->name.data(), qsizetype(field->name.size()));
    return list;
}

Figure startFigure() { return Figure{Pose::defaults(kCanvasWidth)}; }

using What = AnimationChange::What;
using DocumentState = std::tuple<Playback, std::vector<Key>, std::size_t>;

DocumentState stateOf(const AnimationDocument &d)
{
    return {d.animation().playback(), d.animation().keys(), d.currentKey()};
}

// One word of a script: a key operation, "pN" to turn the body by N
// positions, "kN" to make key N current, "t" for a new timing, "f" for
// 30 fps without loop.
bool perform(AnimationDocument &document, const QString &word)
{
    using Direction = AnimationDocument::Direction;
    const int n = word.mid(1).toInt();
    if (word.startsWith('k') || word.startsWith('p')) {
        word.startsWith('k') ? document.setCurrentKey(std::size_t(n))
                             : document.setPosition(FieldId::BodyAngle, std::int16_t(n));
        return word.startsWith('p');
    }
    return (word == "add"       ? document.addKey()
            : word == "del"     ? document.deleteKey()
            : word == "earlier" ? document.moveKey(Direction::Earlier)
            : word == "later"   ? document.moveKey(Direction::Later)
            : word == "t"       ? document.setKeyTiming(7, 3, Ease::Smooth)
                                : document.setPlayback({30, false}))
        .ok();
}

// Figure n's hip at x + 40n and its body at degrees + 10n.
Key keyOf(const QList<int> &ids, float x, double degrees, int hold, int tweens, Ease ease = Ease::Linear)
{
    std::vector<KeyFigure> figures;
    for (int id : ids) {
        figures.push_back({id, startFigure()});
        figures.back().figure.pose.hipX = x + 40.0f * float(id);
        figures.back().figure.pose.bodyAngle = (degrees + 10 * id) / 57.3;
    }
    return Key(std::move(figures), hold, tweens, ease);
}

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

class TestAnimationDocument : public QObject
{
    Q_OBJECT

private slots:
    // The three orders a reader meets: the file's items, the control sync's
    // steps and the JSON keys, written out here as the file and the window
    // know them.
    void everyOrderComesFromTheOneTable()
    {
        QCOMPARE(names(fileFields()),
                 QStringList({"bodyLength", "bodyAngle", "legLength1", "legLength2", "lLegAngle1", "lLegAngle2",
                              "rLegAngle1", "rLegAngle2", "armLength1", "armLength2", "lArmAngle1", "lArmAngle2",
                              "rArmAngle1", "rArmAngle2", "headRadius", "headWidth"}));
        QCOMPARE(names(syncedFields()),
                 QStringList({"bodyLength", "bodyAngle", "legLength1", "legLength2", "armLength1", "armLength2",
                              "lLegAngle1", "lLegAngle2", "rLegAngle1", "rLegAngle2", "lArmAngle1", "lArmAngle2",
                              "rArmAngle1", "rArmAngle2", "headRadius", "headWidth"}));
        for (const PoseField &field : poseFields())
            QCOMPARE(&poseField(field.id), &field);
        QCOMPARE(poseField(FieldId::PenWidth).range->maximum, 7);
    }

    // A change of the figure is told to the figure's observers and to those
    // of its key's content, never to the animation's.
    void observersAreToldOnceWhatChanged()
    {
        AnimationDocument document;
        std::vector<FigureChange> told;
        std::vector<std::size_t> keysTold;
        int animationTold = 0;
        document.addObserver([&told](const FigureChange &change) { told.push_back(change); });
        document.addKeyFigureObserver([&keysTold](std::size_t key) { keysTold.push_back(key); });
        document.addAnimationObserver([&animationTold](const AnimationChange &) { ++animationTold; });
        document.setFigure(startFigure(), ChangeKind::Reset);
        const int source = 0;
        document.setPosition(FieldId::BodyAngle, 30, &source);
        document.setPosition(FieldId::BodyAngle, 30, &source); // no change: no one is told
        document.setPosition(FieldId::PenWidth, 5);
        QCOMPARE(told.size(), std::size_t(3));
        QCOMPARE(told[1].fields.count(), std::size_t(1));
        QVERIFY(told[1].fields[std::size_t(FieldId::BodyAngle)]);
        QCOMPARE(told[1].source, &source);
        QCOMPARE(document.pose().bodyAngle, 60 / 57.3);
        QVERIFY(told[2].fields[std::size_t(FieldId::PenWidth)]);
        QCOMPARE(document.figure().penWidth, 5);
        QVERIFY(document.undo());
        QCOMPARE(keysTold, std::vector<std::size_t>(4, 0));
        QCOMPARE(animationTold, 0);
    }

    // Every step undone puts back the exact animation and current key from
    // before it; redoing them all gives the end state again.
    void keyOperationsUndoExactly_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("current");

        QTest::newRow("add key") << "add" << 1 << 2 << 1;
        QTest::newRow("pose an earlier key") << "add add k0 p5" << 3 << 3 << 0;
        QTest::newRow("delete a middle key") << "add add k1 del" << 3 << 2 << 1;
        QTest::newRow("the only key stays") << "del" << 0 << 1 << 0;
        QTest::newRow("move earlier") << "add p30 earlier" << 3 << 2 << 0;
        QTest::newRow("move later") << "add add k0 p7 later later" << 5 << 3 << 2;
        QTest::newRow("first cannot move earlier") << "earlier" << 0 << 1 << 0;
        QTest::newRow("timing and playback") << "add t f" << 3 << 2 << 1;
    }

    void keyOperationsUndoExactly()
    {
        QFETCH(QString, script);
        QFETCH(int, steps);
        QFETCH(int, keys);
        QFETCH(int, current);

        AnimationDocument document;
        Figure exact = startFigure();
        exact.pose.headWidth = 0.705;
        document.setFigure(exact, ChangeKind::Load);
        document.clearHistory();
        std::vector<DocumentState> before;
        for (const QString &word : script.split(' ')) {
            const DocumentState state = stateOf(document);
            if (perform(document, word))
                before.push_back(state);
        }
        QCOMPARE(int(before.size()), steps);
        QCOMPARE(int(document.animation().keyCount()), keys);
        QCOMPARE(int(document.currentKey()), current);
        const DocumentState end = stateOf(document);
        for (auto state = before.rbegin(); state != before.rend(); ++state) {
            document.setCurrentKey(document.animation().keyCount() - 1);
            QVERIFY(document.undo());
            QVERIFY(stateOf(document) == *state);
        }
        QVERIFY(!document.undo());
        QCOMPARE(document.pose().headWidth, 0.705);
        while (document.redo()) {
        }
        QVERIFY(stateOf(document) == end);
    }

    void aStepThatDoesNotFitChangesNothing_data()
    {
        QTest::addColumn<DocumentStep>("step");
        QTest::addColumn<bool>("redo"); // the step is to be redone rather than undone

        AnimationDocument three;
        (void)three.addKey();
        (void)three.addKey();
        const Key key = three.animation().key(2);
        Figure turned = startFigure();
        turned.pose.bodyAngle = 2;
        QTest::newRow("undo: key 3 of 1 put back")
            << DocumentStep(KeyStep{AnimationEdit::removeKey(three.animation(), 2), 2, 1}) << false;
        QTest::newRow("redo: key 4 of 1 inserted")
            << DocumentStep(KeyStep{AnimationEdit::insertKey(3, key), 0, 3}) << true;
        QTest::newRow("undo: the pose of key 2 of 1") << DocumentStep(FigureStep{1, startFigure(), turned}) << false;
        QTest::newRow("redo: the pose of a figure the key lacks")
            << DocumentStep(FigureStep{0, startFigure(), turned, 7}) << true;
    }

    // A step that cannot be applied is refused in every build: the document
    // and its history stay as they were, and no one is told.
    void aStepThatDoesNotFitChangesNothing()
    {
        QFETCH(DocumentStep, step);
        QFETCH(bool, redo);
        EditHistory history;
        history.record(step);
        if (redo)
            (void)history.undo();
        AnimationDocument document(history);
        int told = 0;
        document.addObserver([&told](const FigureChange &) { ++told; });
        document.addAnimationObserver([&told](const AnimationChange &) { ++told; });
        const DocumentState before = stateOf(document);
        const Figure figure = document.figure();
        for (int attempt = 0; attempt < 2; ++attempt) {
            QVERIFY(!(redo ? document.redo() : document.undo()));
            QCOMPARE(std::pair(document.canUndo(), document.canRedo()), std::pair(!redo, redo));
        }
        QVERIFY(stateOf(document) == before);
        QCOMPARE(document.figure(), figure);
        QCOMPARE(document.revision(), std::uint64_t(0));
        QCOMPARE(told, 0);
    }

    // Key 0 holds frames 0 and 1 and its in-betweens are 2 to 4; key 1 is
    // frame 5 and, looping, 6 and 7 lead back. Showing a frame past the last
    // changes nothing. A change on an in-between is one step and gives each
    // key the hold and in-betweens shown, or is refused.
    void editingAnInBetweenKeepsEveryFrameInTime_data()
    {
        QTest::addColumn<QList<Key>>("keys");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("figure");
        QTest::addColumn<QString>("result");
        const auto walk = [](Ease ease, const QList<int> &first = {1}, const QList<int> &second = {1}) {
            return QList<Key>{keyOf(first, 100, 20, 2, 3, ease), keyOf(second, 220, 80, 1, 2)};
        };
        QTest::newRow("first in-between") << walk(Ease::Linear) << false << 2 << 1 << "2/0 1/2 1/2";
        QTest::newRow("middle in-between") << walk(Ease::Linear) << false << 3 << 1 << "2/1 1/1 1/2";
        QTest::newRow("last in-between") << walk(Ease::Linear) << false << 4 << 1 << "2/2 1/0 1/2";
        QTest::newRow("smooth") << walk(Ease::Smooth) << false << 3 << 1 << "2/1 1/1 1/2";
        QTest::newRow("leading back: the key goes last") << walk(Ease::Linear) << true << 6 << 1 << "2/3 1/0 1/1";
        QTest::newRow("one key looping") << QList<Key>{keyOf({1}, 100, 20, 1, 3)} << true << 2 << 1 << "1/1 1/1";
        QTest::newRow("a figure in one key only")
            << walk(Ease::Linear, {1, 2, 3}, {1, 3}) << true << 3 << 3 << "2/1 1/1 1/2";
        QTest::newRow("smooth, several figures")
            << walk(Ease::Smooth, {1, 2, 3}, {1, 3}) << false << 2 << 1 << "2/0 1/2 1/2";
        QTest::newRow("no figure in both keys")
            << walk(Ease::Linear, {1}, {2}) << false << 2 << 1 << "this in-between shows no figure";
        QTest::newRow("as many keys as may be")
            << QList<Key>(10000, keyOf({1}, 100, 20, 1, 1)) << false << 1 << 1
            << "an animation has at most 10000 keys, so this in-between cannot become a key";
    }
    void editingAnInBetweenKeepsEveryFrameInTime()
    {
        QFETCH(QList<Key>, keys);
        QFETCH(bool, loop);
        QFETCH(int, frame);
        QFETCH(int, figure);
        AnimationDocument document;
        document.replaceAnimation(Animation(Playback{12, loop}, std::vector<Key>(keys.begin(), keys.end())));
        const Animation before = document.animation();
        const FrameRef at = before.frameAt(std::size_t(frame));
        int told = 0;
        document.addAnimationObserver([&told](const AnimationChange &c) { told += c.what == What::ShownFrame; });
        document.setShownFrame(before.frameCount());
        document.setShownFrame(std::size_t(frame));
        document.setCurrentFigure(figure);
        QCOMPARE(told, 1);
        const Figure shown = document.figure();
        // A drag: a turn of the body to 1 radian, then to slider position 5.
        Figure turned = shown;
        turned.pose.bodyAngle = 1;
        const Status edited = document.editFigure(turned, ChangeKind::Edit, nullptr, &at);
        document.setPosition(FieldId::BodyAngle, 5, nullptr, &at);
        const Animation after = document.animation();
        QStringList timing;
        for (const Key &key : after.keys())
            timing << QStringLiteral("%1/%2").arg(key.hold).arg(key.tweens);
        QTEST(edited ? timing.join(' ') : QString::fromStdString(edited.error().message), "result");
        QCOMPARE(document.canUndo(), edited.ok());
        if (!edited)
            return;
        const Key &split = keys[qsizetype(at.key)];
        QVERIFY(document.currentKey() == at.key + 1 && after.key(at.key + 1).ease == split.ease);
        QVERIFY(document.shownFrame() == std::size_t(frame) && document.pose().bodyAngle == 85 / 57.3);
        for (std::size_t key = 0; key <= before.keyCount(); ++key)
            QCOMPARE(after.firstFrameOf(key + (key > at.key)), before.firstFrameOf(key));
        // Only the in-betweens on either side of the new key may move: with
        // Linear, those of the figure changed alone.
        const std::size_t movedFrom = before.firstFrameOf(at.key) + std::size_t(split.hold);
        for (std::size_t i = 0; i < before.frameCount(); ++i) {
            const std::vector<SceneFigure> was = before.sceneAt(before.frameAt(i));
            const std::vector<SceneFigure> now = after.sceneAt(after.frameAt(i));
            QCOMPARE(now.size(), was.size());
            const bool around = i >= movedFrom && i < before.firstFrameOf(at.key + 1);
            for (std::size_t j = 0; j < now.size(); ++j) {
                const bool mayMove = around && (split.ease == Ease::Smooth || now[j].id == figure);
                QVERIFY(now[j].id == was[j].id
                        && (mayMove || std::ranges::all_of(poseFields(), [&](const PoseField &f) {
                                return std::abs(f.value(now[j].figure) - f.value(was[j].figure)) < 1e-9;
                            })));
            }
        }
        QVERIFY(document.undo() && !document.canUndo() && document.animation().keys() == before.keys());
        QCOMPARE(document.shownInBetween(), std::optional(at));
        // A drag that comes back to where it began leaves nothing behind.
        document.setPosition(FieldId::BodyAngle, 5, nullptr, &at);
        document.setFigure(shown, ChangeKind::Edit, nullptr, &at);
        QVERIFY(document.animation().keys() == before.keys() && !document.canUndo() && !document.canRedo());
        // A command on keys puts the playhead on the current key's first frame.
        QVERIFY(document.addKey() && !document.shownInBetween());
        QCOMPARE(document.shownFrame(), document.animation().firstFrameOf(at.key + 1));
    }

    void aLoadRoundsOnlyWhatMoves_data()
    {
        QTest::addColumn<Pose>("loaded");
        QTest::addColumn<Pose>("expected");
        const Pose start = startFigure().pose;

        Pose stays = start;
        stays.headWidth = 0.705; // 70.5 rounds to the even 70, where the slider stands
        stays.lLegAngle1 = 266.4 / 57.3;
        QTest::newRow("sliders that stay keep the file's values") << stays << stays;

        Pose moves = start;
        moves.bodyAngle = 1.0; // 90 - 57.3 rounds to 33
        moves.headWidth = 0.715;
        Pose rounded = start;
        rounded.bodyAngle = 57 / 57.3;
        rounded.headWidth = 0.72;
        QTest::newRow("sliders that move round their fields") << moves << rounded;

        Pose elsewhere = start;
        elsewhere.hipX = 10;
        elsewhere.scale = 3;
        QTest::newRow("the hip and the scale come from the loaded pose") << elsewhere << elsewhere;
    }

    void aLoadRoundsOnlyWhatMoves()
    {
        QFETCH(Pose, loaded);
        QFETCH(Pose, expected);
        Figure current = startFigure();
        current.penWidth = 6;
        const Figure synced = syncedFigure(current, loaded);
        QCOMPARE(synced.pose, expected);
        QCOMPARE(synced.penWidth, 6);
    }
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

QTEST_APPLESS_MAIN(TestAnimationDocument)
#include "tst_animation_document.moc"
