// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_target.h"
#include "export/trim_area.h"
#include "model/program_info.h"
#include "render/head_outline.h"
#include "render/joints.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::Pose)

namespace {

// The first pixel, along one side, of the dot of `d` pixels that the canvas
// stamps for a line through pixel `p`, or centred at `at`.
int lineDot(int p, int d) { return p + int(std::floor(1 - d / 2.0)); }
int pointDot(double at, int d) { return int(std::floor(at - d / 2.0 + 0.5)); }

// The rectangle worked out from the joints and the head's outline: every
// line ends at a joint, the head is its dots, and each is a dot of the pen.
QRect fromJoints(const Pose &pose, int pen, int zoom)
{
    const double sx = 493.0 * zoom / 500.0, sy = 397.0 * zoom / 400.0;
    const int d = pen * zoom;
    const Joints j = ComputeJoints(pose);
    QRect covered;
    for (const Point p : {Point{pose.hipX, pose.hipY}, j.neck, j.lKnee, j.rKnee, j.lFoot, j.rFoot, j.shoulder, j.lElbow,
                          j.rElbow, j.lHand, j.rHand})
        covered |=
            QRect(lineDot(int(std::floor(float(p.x) * sx)), d), lineDot(int(std::floor(float(p.y) * sy)), d), d, d);
    for (const HeadPair &pair : ComputeHeadOutline(pose, j.headCentre))
        for (const Point p : {pair.first, pair.opposite})
            covered |= QRect(pointDot(float(p.x) * sx, d), pointDot(float(p.y) * sy, d), d, d);
    return covered.adjusted(-2, -2, 2, 2) & QRect(0, 0, 493 * zoom, 397 * zoom);
}

// Key 1 holds 2 frames with 3 in-betweens, key 2 one with 2 back: 8 frames.
Animation walk(int fps)
{
    Pose stride = test::startPose();
    stride.lLegAngle1 = 5.0;
    return Animation(Playback{fps, true},
                     {Key{Figure{test::startPose()}, 2, 3, Ease::Smooth}, Key{Figure{stride}, 1, 2}});
}

QRect rectOf(const QJsonObject &o) { return {o["x"].toInt(), o["y"].toInt(), o["w"].toInt(), o["h"].toInt()}; }

} // namespace

class TestGameFrames : public QObject
{
    Q_OBJECT

private slots:
    void trimHoldsTheFigures_data()
    {
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("zoom");

        QTest::newRow("start-up pose") << test::startPose() << 2 << 1;
        QTest::newRow("widest pen") << test::startPose() << 7 << 1;
        QTest::newRow("zoom 3, pen 3") << test::startPose() << 3 << 3;
        QTest::newRow("large head, turned, past the top") << test::largeHeadPose() << 1 << 2;
    }

    // The rectangle holds every drawn pixel of the figure and 2 pixels more.
    void trimHoldsTheFigures()
    {
        QFETCH(Pose, pose);
        QFETCH(int, pen);
        QFETCH(int, zoom);
        const SceneFigure figure{kFirstFigureId, "", kBlack, Figure{pose, pen}};
        const Result<QRect> area = TrimArea::ofScene(std::span(&figure, 1), zoom);
        QVERIFY(area.ok());
        QCOMPARE(*area, fromJoints(pose, pen, zoom));
    }

    void atlasPlacesEveryFrame_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("fps");
        QTest::addColumn<QList<int>>("durations"); // ms; frame k ends at round(1000 k / fps)
        QTest::addColumn<int>("padding");
        QTest::addColumn<int>("extrude");

        QTest::newRow("squarest grid, 12 fps")
            << 0 << false << 1 << 12 << QList<int>{83, 84, 83, 83, 84, 83, 83, 84} << 0 << 0;
        QTest::newRow("3 across, trimmed, 7 fps, padded and extruded")
            << 3 << true << 1 << 7 << QList<int>{143, 143, 143, 142, 143, 143, 143, 143} << 4 << 2;
        QTest::newRow("one row, trimmed, zoom 2, 60 fps, extruded")
            << 8 << true << 2 << 60 << QList<int>{17, 16, 17, 17, 16, 17, 17, 16} << 0 << 8;
    }

    // Each rectangle of the atlas holds its frame as drawn on the whole
    // canvas, at its place there, and its pivot is the hip on that canvas;
    // the times add up to the animation's length; the whole animation's tag
    // and each key's, named after the sheet, cover their frames, and so do
    // PixiJS's animations by frame name.
    void atlasPlacesEveryFrame()
    {
        QFETCH(int, columns);
        QFETCH(bool, trim);
        QFETCH(int, zoom);
        QFETCH(int, fps);
        QFETCH(QList<int>, durations);
        QFETCH(int, padding);
        QFETCH(int, extrude);
        const test::TemporaryFolder folder;
        const Animation animation = walk(fps);
        AnimationTarget target{
            AnimationTarget::Kind::Animated, AnimatedFormat::Sheet, zoom, columns, false, trim, true, padding, extrude};
        QVERIFY(target.write(animation, folder.path("walk.sheet.png").toStdString()).ok());
        const QImage sheet(folder.path("walk.sheet.png"));
        const QJsonObject atlas = QJsonDocument::fromJson(test::fileBytes(folder.path("walk.sheet.json"))).object();
        const QJsonArray frames = atlas["frames"].toArray();
        QCOMPARE(atlas["meta"]["image"].toString(), "walk.sheet.png");
        QCOMPARE(QSize(atlas["meta"]["size"]["w"].toInt(), atlas["meta"]["size"]["h"].toInt()), sheet.size());
        QCOMPARE(frames.size(), durations.size());
        Exporter exporter;
        const std::vector<FrameRef> refs = animation.frames();
        for (int i = 0; i < frames.size(); ++i) {
            const QJsonObject frame = frames[i].toObject();
            const QRect source = rectOf(frame["spriteSourceSize"].toObject());
            const QImage whole = exporter.picture(animation.sceneAt(refs[i]), kProgramCaption, zoom);
            QCOMPARE(sheet.copy(rectOf(frame["frame"].toObject())).convertToFormat(QImage::Format_RGB32),
                     whole.copy(source));
            QCOMPARE(frame["duration"].toInt(), durations[i]);
            const Pose pose = animation.sceneAt(refs[i]).front().figure.pose;
            const QSize canvas(frame["sourceSize"]["w"].toInt(), frame["sourceSize"]["h"].toInt());
            QCOMPARE(canvas, QSize(493 * zoom, 397 * zoom));
            QCOMPARE(QPointF(frame["pivot"]["x"].toDouble() * canvas.width(),
                             frame["pivot"]["y"].toDouble() * canvas.height()),
                     QPointF(double(pose.hipX) * 493 * zoom / 500, pose.hipY * 397 * zoom / 400));
            QCOMPARE(frame["anchor"], frame["pivot"]);
        }
        const QJsonArray tags = atlas["meta"]["frameTags"].toArray();
        QStringList names;
        QList<int> spans;
        for (const QJsonValue &tag : tags) {
            names.append(tag["name"].toString());
            spans += {tag["from"].toInt(), tag["to"].toInt()};
            QCOMPARE(atlas["animations"][tag["name"].toString()].toArray().size(),
                     tag["to"].toInt() - tag["from"].toInt() + 1);
        }
        QCOMPARE(names, QStringList({"walk.sheet", "walk.sheet/key 1", "walk.sheet/key 2"}));
        QCOMPARE(spans, QList<int>({0, 7, 0, 4, 5, 7}));
        QCOMPARE(atlas["animations"]["walk.sheet/key 2"][0].toString(), "5");
        QCOMPARE(atlas["meta"]["loop"].toBool(), true);
        QCOMPARE(atlas["meta"]["format"].toString(), "L8");
    }
};

QTEST_MAIN(TestGameFrames)
#include "tst_game_frames.moc"
