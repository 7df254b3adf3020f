// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_target.h"
#include "export/lottie_writer.h"
#include "lottie_player.h"
#include "model/program_info.h"
#include "render/head_outline.h"
#include "render/joints.h"
#include "test_support.h"

#include <QFontMetrics>
#include <QTest>

#include <cmath>
#include <functional>

using namespace zelbrook;
using test::LottiePlayer;

using MakeAnimation = std::function<Animation()>;
Q_DECLARE_METATYPE(MakeAnimation)
Q_DECLARE_METATYPE(zelbrook::Ease)

namespace {

Pose posed(double bodyAngle, double lLegAngle1, double rotation = 0, double scale = 1, int head = 15)
{
    Pose pose = test::startPose();
    pose.bodyAngle = bodyAngle;
    pose.lLegAngle1 = lLegAngle1;
    pose.lArmAngle2 = -lLegAngle1;
    pose.rotation = rotation;
    pose.scale = scale;
    pose.headRadius = static_cast<std::int16_t>(head);
    return pose;
}

Animation twoKeys(Pose from, Pose to, int hold, int tweens, Ease ease, bool loop = true, int pen = 2)
{
    return Animation(Playback{12, loop}, {Key{Figure{from, pen}, hold, tweens, ease}, Key{Figure{to, 3}, 1, tweens}});
}

// Figure 2 enters at key 2 and leaves after it; both move between keys.
Animation entering()
{
    const auto key = [](std::vector<KeyFigure> figures) { return Key(std::move(figures), 2, 3, Ease::Smooth); };
    Pose right = posed(1.2, 4.0);
    right.hipX = 330;
    return Animation(Playback{10, true}, {CastFigure{1, "Walker", 0x000000}, CastFigure{2, "Thrower", 0xC03020}},
                     {key({{1, Figure{posed(1.5, 4.2)}}}), key({{1, Figure{posed(1.7, 4.6)}}, {2, Figure{right, 4}}}),
                      key({{1, Figure{posed(1.5, 4.2)}}})});
}

struct JointPlace {
    const char *layer;
    bool end; // the end of the layer's segment, else its origin
};

// Each joint as the layers carry it, in the order of Joints, hip last.
constexpr JointPlace kJointPlaces[] = {
    {"body", true},         {"head", false},          {"left shin", false},      {"left shin", true},
    {"right shin", false},  {"right shin", true},     {"left upper arm", false}, {"left forearm", false},
    {"left forearm", true}, {"right forearm", false}, {"right forearm", true},   {"hip", false}};

QList<Point> jointsOf(const Pose &pose)
{
    const Joints j = ComputeJoints(pose);
    return {j.neck,     j.headCentre, j.lKnee, j.lFoot,  j.rKnee, j.rFoot,
            j.shoulder, j.lElbow,     j.lHand, j.rElbow, j.rHand, Point{pose.hipX, pose.hipY}};
}

QByteArray lottieOf(const Animation &animation, int zoom = 1, const FrameStyle &style = {})
{
    const std::string text = LottieWriter::json(animation, kProgramCaption, zoom, style, "walk");
    return QByteArray::fromStdString(text);
}

// Where the player puts a point of a figure's layer, in canvas units.
Point shown(const QJsonObject &stage, const QJsonArray &layers, const QJsonObject &layer, QPointF at, double frame,
            int zoom, QPoint offset)
{
    const QPointF pixel = LottiePlayer::transform(stage, frame).map(LottiePlayer::place(layers, layer, at, frame));
    return {(pixel.x() + offset.x()) * 500.0 / (493.0 * zoom), (pixel.y() + offset.y()) * 400.0 / (397.0 * zoom)};
}

QPointF segmentEnd(const QJsonObject &layer, double frame)
{
    const QList<double> path = LottiePlayer::value(layer["shapes"][0]["ks"].toObject(), frame);
    return {path[2], path[3]};
}

} // namespace

class TestLottieWriter : public QObject
{
    Q_OBJECT

private slots:
    void jointsFollowTheFrames_data()
    {
        QTest::addColumn<MakeAnimation>("make");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("trim");

        QTest::newRow("linear, looping") << MakeAnimation([] {
            return twoKeys(posed(1.5, 4.2), posed(1.9, 4.8), 1, 3, Ease::Linear);
        }) << 1 << false;
        QTest::newRow("smooth, held three frames")
            << MakeAnimation([] { return twoKeys(posed(1.5, 4.2), posed(1.9, 4.8), 3, 4, Ease::Smooth); }) << 1
            << false;
        QTest::newRow("turns across 0 and 360, the shorter way")
            << MakeAnimation([] { return twoKeys(posed(3.0, 0.1, 0.2), posed(-3.0, -0.2, -0.3), 1, 5, Ease::Smooth); })
            << 2 << false;
        QTest::newRow("plays once") << MakeAnimation([] {
            return twoKeys(posed(1.5, 4.2), posed(-2.0, 4.8), 2, 3, Ease::Linear, false);
        }) << 1 << false;
        QTest::newRow("scale and head change between keys") << MakeAnimation([] {
            return twoKeys(posed(1.5, 4.2, 0, 1.0, 12), posed(1.6, 4.4, 0.3, 2.5, 30), 1, 6, Ease::Smooth);
        }) << 1 << false;
        QTest::newRow("two figures, one entering and leaving, trimmed at zoom 3")
            << MakeAnimation(entering) << 3 << true;
        QTest::newRow("a foot pinned while the hip moves on") << MakeAnimation([] {
            Animation walk = twoKeys(posed(1.5, 4.2), posed(1.6, 4.6), 1, 5, Ease::Smooth);
            std::vector<Key> keys = walk.keys();
            keys[1].figures[0].figure.pose.hipX += 30;
            for (Key &key : keys)
                key.figures[0].figure.pin(Limb::LFoot) = ComputeJoints(keys[0].figures[0].figure.pose).lFoot;
            return Animation(walk.playback(), walk.cast(), keys);
        }) << 1 << false;
    }

    // At every frame each figure's layers show exactly when the frame
    // shows the figure, and put every joint where the program works it out.
    void jointsFollowTheFrames()
    {
        QFETCH(MakeAnimation, make);
        QFETCH(int, zoom);
        QFETCH(bool, trim);
        const Animation animation = make();
        FrameStyle style;
        if (trim)
            style.trim = QRect(40, 30, 700, 500);
        const LottiePlayer player(lottieOf(animation, zoom, style));
        const QPoint offset = trim ? QPoint(40, 30) : QPoint();
        const std::vector<FrameRef> frames = animation.frames();
        QCOMPARE(player.file()["op"].toInt(), int(frames.size()));
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const std::vector<SceneFigure> scene = animation.sceneAt(frames[i]);
            for (const CastFigure &cast : animation.cast()) {
                const QJsonObject stage =
                    LottiePlayer::layer(player.file()["layers"].toArray(), QString::fromStdString(cast.name));
                const auto figure = std::ranges::find(scene, cast.id, &SceneFigure::id);
                const double opacity = LottiePlayer::value(stage["ks"]["o"].toObject(), double(i))[0];
                QCOMPARE(opacity, figure == scene.end() ? 0.0 : 100.0);
                if (figure == scene.end())
                    continue;
                const QJsonArray layers = player.assetLayers(stage["refId"].toString());
                const QList<Point> expected = jointsOf(figure->figure.pose);
                for (int j = 0; j < expected.size(); ++j) {
                    const QJsonObject layer = LottiePlayer::layer(layers, kJointPlaces[j].layer);
                    const QPointF at = kJointPlaces[j].end ? segmentEnd(layer, double(i)) : QPointF();
                    const Point got = shown(stage, layers, layer, at, double(i), zoom, offset);
                    if (std::hypot(got.x - expected[j].x, got.y - expected[j].y) > 0.01)
                        QFAIL(qPrintable(QString("frame %1, figure %2, joint %3: (%4, %5), not (%6, %7)")
                                             .arg(i)
                                             .arg(cast.id)
                                             .arg(j)
                                             .arg(got.x)
                                             .arg(got.y)
                                             .arg(expected[j].x)
                                             .arg(expected[j].y)));
                }
            }
        }
    }

    void penColourAndHeadDots_data()
    {
        QTest::addColumn<MakeAnimation>("make");

        QTest::newRow("pen 5 then 3, black")
            << MakeAnimation([] { return twoKeys(posed(1.5, 4.2), posed(1.9, 4.8), 2, 3, Ease::Linear, true, 5); });
        QTest::newRow("scale and head change, each frame") << MakeAnimation(
            [] { return twoKeys(posed(1.5, 4.2, 0, 1.0, 12), posed(1.6, 4.4, 0.3, 2.5, 30), 1, 6, Ease::Smooth); });
        QTest::newRow("two figures in their colours") << MakeAnimation(entering);
    }

    // Every line is the frame's pen in pixels whatever the scale, in the
    // figure's colour with round caps, and the head's dots lie where the
    // program puts them.
    void penColourAndHeadDots()
    {
        QFETCH(MakeAnimation, make);
        const Animation animation = make();
        const LottiePlayer player(lottieOf(animation, 2));
        const double pixelsPerUnit = 2 * std::sqrt(493.0 / 500.0 * 397.0 / 400.0);
        const std::vector<FrameRef> frames = animation.frames();
        for (std::size_t i = 0; i < frames.size(); ++i) {
            for (const SceneFigure &figure : animation.sceneAt(frames[i])) {
                const QJsonObject stage =
                    LottiePlayer::layer(player.file()["layers"].toArray(), QString::fromStdString(figure.name));
                const QJsonArray layers = player.assetLayers(stage["refId"].toString());
                const Pose &pose = figure.figure.pose;
                const QJsonObject body = LottiePlayer::layer(layers, "body");
                const QJsonObject line = body["shapes"][1].toObject();
                const double width = LottiePlayer::value(line["w"].toObject(), double(i))[0];
                QVERIFY(std::abs(width * pose.scale * pixelsPerUnit - 2.0 * figure.figure.penWidth) < 1e-3);
                QCOMPARE(line["lc"].toInt(), 2);
                QCOMPARE(std::lround(LottiePlayer::value(line["c"].toObject(), 0)[0] * 255), long(figure.color >> 16));
                const QJsonObject head = LottiePlayer::layer(layers, "head");
                const QJsonArray dots = head["shapes"][0]["it"].toArray();
                const QTransform group =
                    QTransform::fromScale(LottiePlayer::value(dots.last()["s"].toObject(), double(i))[0] / 100,
                                          LottiePlayer::value(dots.last()["s"].toObject(), double(i))[1] / 100);
                const double dotWidth = LottiePlayer::value(dots[2 * kHeadSteps]["w"].toObject(), double(i))[0];
                QVERIFY(std::abs(dotWidth * pose.headRadius * pose.scale * pixelsPerUnit - 2.0 * figure.figure.penWidth)
                        < 1e-3);
                const HeadOutline outline = ComputeHeadOutline(pose, ComputeJoints(pose).headCentre);
                for (int t = 0; t < kHeadSteps; t += 30) {
                    const QList<double> first = LottiePlayer::value(dots[2 * t]["ks"].toObject(), double(i));
                    const Point got =
                        shown(stage, layers, head, group.map(QPointF(first[0], first[1])), double(i), 2, {});
                    const Point a = outline[t].first, b = outline[t].opposite;
                    QVERIFY2(std::min(std::hypot(got.x - a.x, got.y - a.y), std::hypot(got.x - b.x, got.y - b.y))
                                 < 0.01,
                             qPrintable(QString("frame %1, step %2").arg(i).arg(t)));
                }
            }
        }
    }

    void fileGrowsWithKeysNotFrames_data()
    {
        QTest::addColumn<Ease>("ease");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("largest"); // the ratio of 1000 in-betweens to 10

        QTest::newRow("linear") << Ease::Linear << 1.0 << 1.1;
        QTest::newRow("smooth") << Ease::Smooth << 1.0 << 1.1;
        QTest::newRow("a change of scale is written each frame") << Ease::Linear << 2.0 << 1e9;
    }

    void fileGrowsWithKeysNotFrames()
    {
        QFETCH(Ease, ease);
        QFETCH(double, scale);
        QFETCH(double, largest);
        const auto size = [&](int tweens) {
            return double(lottieOf(twoKeys(posed(1.5, 4.2), posed(-2.0, 4.8, 0.5, scale), 1, tweens, ease)).size());
        };
        const double ratio = size(1000) / size(10);
        QVERIFY2(ratio <= largest, qPrintable(QString::number(ratio)));
        QVERIFY2(ratio > 1.0 || largest < 2, qPrintable(QString::number(ratio)));
    }

    void composition_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<int>("head");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("layers"); // of the composition, front first

        QTest::newRow("zoom 1") << 1 << false << false << 15 << QSize(493, 397)
                                << QStringList{"credit", "Figure 1", "background"};
        QTest::newRow("zoom 4, transparent")
            << 4 << true << false << 15 << QSize(1972, 1588) << QStringList{"credit", "Figure 1"};
        QTest::newRow("large head: its remark") << 1 << false << false << 95 << QSize(493, 397)
                                                << QStringList{"credit", "remark", "Figure 1", "background"};
        QTest::newRow("trimmed: no text")
            << 2 << false << true << 95 << QSize(300, 200) << QStringList{"Figure 1", "background"};
    }

    // The composition is the picture: its size, its layers, the texts
    // where the canvas prints them, the frame rate and a marker a key.
    void composition()
    {
        QFETCH(int, zoom);
        QFETCH(bool, transparent);
        QFETCH(bool, trim);
        QFETCH(int, head);
        QFETCH(QSize, size);
        QFETCH(QStringList, layers);
        const Animation animation(Playback{24, true},
                                  {Key{Figure{posed(1.5, 4.2, 0, 1, head)}, 3, 2}, Key{Figure{posed(1.9, 4.8)}, 2, 4}});
        FrameStyle style;
        if (transparent)
            style.background = RasterCanvas::Background::Transparent;
        if (trim)
            style.trim = QRect(10, 20, 300, 200);
        const QJsonObject file = LottiePlayer(lottieOf(animation, zoom, style)).file();
        QCOMPARE(QSize(file["w"].toInt(), file["h"].toInt()), size);
        QCOMPARE(file["fr"].toInt(), 24);
        QCOMPARE(file["ip"].toInt(), 0);
        QCOMPARE(file["op"].toInt(), 11);
        QStringList names;
        for (const QJsonValue &layer : file["layers"].toArray())
            names.append(layer["nm"].toString());
        QCOMPARE(names, layers);
        const QJsonObject credit = LottiePlayer::layer(file["layers"].toArray(), "credit");
        if (!trim) {
            // The canvas prints the credit with its top left at (255.6, 380.4)
            // canvas units, in whole pixels; Lottie places its baseline.
            QFont font("DejaVu Sans");
            font.setPixelSize(11 * zoom);
            const QList<double> at = LottiePlayer::value(credit["ks"]["p"].toObject(), 0);
            QCOMPARE(at, QList<double>({std::floor(255.58333 * 493 * zoom / 500),
                                        std::floor(380.4 * 397 * zoom / 400) + QFontMetrics(font).ascent()}));
            QCOMPARE(credit["t"]["d"]["k"][0]["s"]["t"].toString(), "made with " + QString::fromUtf8(kProgramCaption));
        }
        const QJsonObject remark = LottiePlayer::layer(file["layers"].toArray(), "remark");
        if (!remark.isEmpty()) {
            const QList<double> shown = {LottiePlayer::value(remark["ks"]["o"].toObject(), 0)[0],
                                         LottiePlayer::value(remark["ks"]["o"].toObject(), 2)[0],
                                         LottiePlayer::value(remark["ks"]["o"].toObject(), 3)[0]};
            QCOMPARE(shown, QList<double>({100, 100, 0})); // frame 4 is an in-between with a head of 55
        }
        const QJsonArray markers = file["markers"].toArray();
        QCOMPARE(markers.size(), 2);
        QCOMPARE(markers[1]["cm"].toString(), "walk/key 2");
        QCOMPARE(QList<int>({markers[0]["tm"].toInt(), markers[0]["dr"].toInt(), markers[1]["tm"].toInt(),
                             markers[1]["dr"].toInt()}),
                 QList<int>({0, 5, 5, 6}));
    }
};

QTEST_MAIN(TestLottieWriter)
#include "tst_lottie_writer.moc"
