// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"

#include "test_support.h"

#include <QTest>

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
