// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_exporter.h"
#include "model/program_info.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace zelbrook;

namespace {

constexpr Color kRed = 0xFF0000, kBlue = 0x0000FF;

SceneFigure standing(FigureId id, Color color, float hipX)
{
    Figure figure{Pose::defaults(RasterCanvas::kWindowUnitWidth), 3};
    figure.pose.hipX = hipX;
    return {id, "Figure " + std::to_string(id), color, figure};
}

// Red on the left, blue on the right; neither reaches the middle.
const std::vector<SceneFigure> kTwo{standing(1, kRed, 120), standing(2, kBlue, 380)};

// Three keys, not looping; only the first and the last hold blue. As json,
// red faces left with its left foot pinned at (110, 255) all through. The
// error that stopped the export, if any.
Result<QByteArray> animationBytes(AnimatedFormat format, bool json = false)
{
    Figure pinned = kTwo[0].figure;
    pinned.facing = json ? Facing::Left : Facing::Right;
    pinned.pin(Limb::LFoot) = json ? std::optional(Point{110, 255}) : std::nullopt;
    const Key both({{1, pinned}, {2, kTwo[1].figure}}, 1, 1), red({{1, pinned}}, 1, 1);
    const Animation animation({12, false}, {{1, "Figure 1", kRed}, {2, "Figure 2", kBlue}}, {both, red, both});
    QByteArray bytes;
    const ByteSink sink = [&bytes](std::string_view b) {
        return bytes.append(b.data(), qsizetype(b.size())), Status{};
    };
    const Status written = json ? AnimationExporter::writeJson(animation, sink)
                                : AnimationExporter().write(animation, kProgramCaption, format, 1, {sink, {}, 0});
    return written ? Result<QByteArray>(bytes) : written.error();
}

using Encoding = std::function<Result<QByteArray>()>;

} // namespace

class TestSceneExport : public QObject
{
    Q_OBJECT

private slots:
    void sceneColours_data()
    {
        QTest::addColumn<Encoding>("encoding");
        QTest::newRow("png") << Encoding([] { return Exporter().encode(kTwo, kProgramCaption, ExportFormat::Png); });
        QTest::newRow("gif, first frame") << Encoding([] { return animationBytes(AnimatedFormat::Gif); });
        QTest::newRow("apng, first frame") << Encoding([] { return animationBytes(AnimatedFormat::Apng); });
    }

    // Each figure is drawn in its colour where it stands, and nowhere else.
    void sceneColours()
    {
        QFETCH(Encoding, encoding);
        const Result<QByteArray> bytes = encoding();
        QVERIFY2(bytes.ok(), bytes.ok() ? "" : bytes.error().message.c_str());
        const QImage picture = QImage::fromData(bytes.value()).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(493, 397));
        int counts[2][2] = {}; // [red, blue][left, right]
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (const QRgb rgb = picture.pixel(x, y) & 0xFFFFFF; rgb == kRed || rgb == kBlue)
                    ++counts[rgb == kBlue][x >= picture.width() / 2];
        QVERIFY(counts[0][0] > 100 && counts[1][1] > 100);
        QCOMPARE(counts[0][1] + counts[1][0], 0);
    }

    void svgGroups_data()
    {
        QTest::addColumn<std::vector<SceneFigure>>("scene");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("two figures") << kTwo << QStringList{"#ff0000", "#0000ff"};
        QTest::newRow("blue alone") << std::vector{kTwo[1]} << QStringList{"#0000ff"};
        QTest::newRow("one black figure, as before") << std::vector{Exporter::alone(kTwo[0].figure)} << QStringList{};
    }

    // One group a figure, in drawing order, holding its nine lines and 362
    // head dots, and then the text outside them.
    void svgGroups()
    {
        QFETCH(std::vector<SceneFigure>, scene);
        const QString svg = Exporter().encode(scene, kProgramCaption, ExportFormat::Svg).value();
        QStringList groups;
        const QRegularExpression group(
            "<g stroke=\"(#\\w+)\" fill=\"\\1\">\n((<line|<circle)[^\n]*\\1[^\n]*\n){371}</g>");
        for (const QRegularExpressionMatch &match : group.globalMatch(svg))
            groups << match.captured(1);
        QTEST(groups, "groups");
        QCOMPARE(svg.count("<g "), groups.size());
        QCOMPARE(svg.contains("</g>\n<text"), !groups.isEmpty());
    }

    void jsonFrames_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("first key") << 0 << QList{1, 2};
        QTest::newRow("towards the key without blue") << 1 << QList{1};
        QTest::newRow("blue back") << 4 << QList{1, 2};
    }

    // Every frame lists the figures it shows, with id, name, colour, data.
    void jsonFrames()
    {
        QFETCH(int, frame);
        QFETCH(QList<int>, ids);
        const Result<QByteArray> json = animationBytes({}, true);
        QVERIFY2(json.ok(), json.ok() ? "" : json.error().message.c_str());
        const QJsonArray frames = QJsonDocument::fromJson(json.value())["frames"].toArray();
        QCOMPARE(frames.size(), 5);
        const QJsonArray figures = frames[frame]["figures"].toArray();
        QCOMPARE(figures.size(), ids.size());
        for (qsizetype i = 0; i < ids.size(); ++i) {
            QCOMPARE(figures[i]["id"].toInt(), ids[i]);
            QCOMPARE(figures[i]["name"].toString(), QString("Figure %1").arg(ids[i]));
            QCOMPARE(figures[i]["color"].toString(), ids[i] == 1 ? "#ff0000" : "#0000ff");
            QCOMPARE(figures[i]["joints"]["hip"][0].toDouble(), ids[i] == 1 ? 120.0 : 380.0);
            QCOMPARE(figures[i]["facing"].toString(), ids[i] == 1 ? "left" : "");
            QCOMPARE(figures[i]["pins"]["lFoot"][1].toDouble(), ids[i] == 1 ? 255.0 : 0.0);
            const QJsonValue foot = figures[i]["joints"]["lFoot"];
            QVERIFY(ids[i] != 1 || std::hypot(foot[0].toDouble() - 110, foot[1].toDouble() - 255) < 0.01 || frame != 1);
        }
    }
};

QTEST_MAIN(TestSceneExport)
#include "tst_scene_export.moc"
