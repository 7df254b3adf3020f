#include "model/pose_document.h"

#include "test_support.h"

#include <QTest>

#include <string>
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

} // namespace

class TestPoseDocument : public QObject
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

    void observersAreToldOnceWhatChanged()
    {
        PoseDocument document;
        std::vector<FigureChange> told;
        document.addObserver([&told](const FigureChange &change) { told.push_back(change); });
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

QTEST_APPLESS_MAIN(TestPoseDocument)
#include "tst_pose_document.moc"
