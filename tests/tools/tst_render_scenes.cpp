// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"
#include "tools/render_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <cmath>

using namespace zelbrook;

namespace {

Pose bodyAt(float hipX, double bodyAngle)
{
    Pose pose = Pose::defaults(500);
    pose.hipX = hipX;
    pose.bodyAngle = bodyAngle;
    return pose;
}
const Pose kPoses[] = {bodyAt(120, 1.5), bodyAt(380, 1.0)};

} // namespace

class TestRenderScenes : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Two keys, each of the two figures.
    void initTestCase()
    {
        const Key key({{1, Figure{kPoses[0]}}, {2, Figure{kPoses[1]}}});
        QFile file(m_dir.filePath("scene.zba"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(writeAnimationFile(Animation({}, {{1, "A", 0xFF0000}, {2, "B", 0x0000FF}}, {key, key})).c_str());
    }

    void oneFigure_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("figure"); // the index of the pose written, or -1
        QTest::newRow("zbk of figure 2") << "--figure 2 --format zbk" << 0 << QByteArray() << 1;
        QTest::newRow("json of figure 1") << "--figure=1 --format json" << 0 << QByteArray() << 0;
        QTest::newRow("zbk of both") << "--format zbk" << 2 << QByteArray("; give --figure ID for one of them") << -1;
        QTest::newRow("unknown id") << "--figure 7 --format json" << 2 << QByteArray("its figures are 1, 2\n") << -1;
    }

    // One figure of a key as a pose file or as data; a pose file of both,
    // or an id the key does not hold, is refused.
    void oneFigure()
    {
        QFETCH(QString, options);
        const RenderRun run = runRender(m_dir.path(), options.split(' ') + QStringList{"--key", "2", "scene.zba", "-"});
        QTEST(run.exitCode, "exitCode");
        QFETCH(QByteArray, message);
        QVERIFY2(run.err.contains(message), run.err.constData());
        QFETCH(int, figure);
        if (figure >= 0 && options.endsWith("zbk"))
            QCOMPARE(readPoseFile(run.out.toStdString(), Pose()).value().bodyAngle, kPoses[figure].bodyAngle);
        else if (figure >= 0)
            QCOMPARE(QJsonDocument::fromJson(run.out)["pose"]["bodyAngle"].toDouble(), kPoses[figure].bodyAngle);
    }

    void eachAboutItsHip_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("degrees");
        QTest::newRow("twice the size") << 2.0 << 0.0;
        QTest::newRow("a quarter turn") << 1.0 << 90.0;
        QTest::newRow("both, backwards") << -0.5 << -45.0;
    }

    // Each neck lies the scaled body length from its own hip, the body's
    // direction turned by the rotation (degrees / 57.3).
    void eachAboutItsHip()
    {
        QFETCH(double, scale);
        QFETCH(double, degrees);
        const RenderRun run = runRender(m_dir.path(), {"--key", "1", "--scale", QString::number(scale), "--rotate",
                                                       QString::number(degrees), "--format", "json", "scene.zba", "-"});
        const QJsonArray figures = QJsonDocument::fromJson(run.out)["figures"].toArray();
        QCOMPARE(figures.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const double angle = kPoses[i].bodyAngle + degrees / 57.3, length = kPoses[i].bodyLength * scale;
            const QJsonValue neck = figures[i]["joints"]["neck"];
            QVERIFY(std::abs(neck[0].toDouble() - (kPoses[i].hipX + std::cos(angle) * length)) < 1e-9);
            QVERIFY(std::abs(neck[1].toDouble() - (kPoses[i].hipY - std::sin(angle) * length)) < 1e-9);
        }
    }
};

QTEST_GUILESS_MAIN(TestRenderScenes)
#include "tst_render_scenes.moc"
