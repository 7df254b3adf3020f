// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"
#include "model/pose_mirror.h"
#include "model/side_swap.h"

#include "document_keys.h"
#include "test_support.h"

#include <QTest>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::Pose)

namespace {

QStringList names(std::span<const PoseField *const> fields)
{
    QStringList list;
    for (const PoseField *field : fields)
        list << QString::fromUtf8(field->name.data(), qsizetype(field->name.size()));
    return list;
}

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
};

QTEST_APPLESS_MAIN(TestAnimationDocument)
#include "tst_animation_document.moc"
