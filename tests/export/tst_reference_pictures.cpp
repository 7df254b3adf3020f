#include "export/exporter.h"
#include "render/joints.h"

#include "test_support.h"
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>

using namespace zelbrook;

namespace {

// A caption of its own, so that a new version number leaves the pictures as
// they are.
constexpr std::string_view kCaption = "Zelbrook v0.1 by Quillfen";

// With ZELBROOK_REMAKE_REFERENCE=1 the tests write what the program gives
// now as the reference, for a change to the picture that is meant.
bool remaking() { return qEnvironmentVariableIntValue("ZELBROOK_REMAKE_REFERENCE") == 1; }

QString referencePath(const QString &name) { return QDir(ZELBROOK_REFERENCE_DIR).filePath(name); }

// The joints as hex floats, x and y of each joint in their order.
QByteArray jointsText(const Pose &pose)
{
    const Joints joints = ComputeJoints(pose);
    QByteArray text;
    for (const Point &point : {joints.neck, joints.headCentre, joints.lKnee, joints.lFoot, joints.rKnee, joints.rFoot,
                               joints.shoulder, joints.lElbow, joints.lHand, joints.rElbow, joints.rHand})
        for (const double value : {point.x, point.y}) {
            char number[40];
            std::snprintf(number, sizeof number, " %a", value);
            text += number;
        }
    return text;
}

QList<QByteArray> storedLines() { return test::fileBytes(referencePath("joints.txt"), {}).split('\n'); }

// The stored line of the pose's joints, without its name.
QByteArray storedJoints(const QByteArray &name)
{
    for (const QByteArray &line : storedLines())
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1);
    return "<none>";
}

bool storeJoints(const QByteArray &name, const QByteArray &joints)
{
    QByteArray text;
    for (const QByteArray &line : storedLines())
        if (!line.isEmpty() && !line.startsWith(name + ':'))
            text += line + '\n';
    QFile file(referencePath("joints.txt"));
    return file.open(QIODevice::WriteOnly) && file.write(text + name + ':' + joints + '\n') > 0;
}

} // namespace

class TestReferencePictures : public QObject
{
    Q_OBJECT

private slots:
    void poses_data()
    {
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("zoom");
        const Pose start = test::startPose();
        Pose largeHead = start;
        largeHead.headRadius = 100;
        Pose turned = start;
        turned.rotation = 0.75;
        turned.scale = 2.5;
        turned.lArmAngle2 = -1.25;
        Pose farOff = start;
        farOff.hipX = -2.0e6f;
        farOff.hipY = 242770;
        farOff.scale = 1.0e5;
        farOff.rotation = -1.45;
        QTest::newRow("start-up") << start << 2 << 1;
        QTest::newRow("large-head") << largeHead << 2 << 1;
        QTest::newRow("thickest-pen-zoom-3") << start << 7 << 3;
        QTest::newRow("rotated-scaled") << turned << 3 << 1;
        QTest::newRow("far-off-canvas") << farOff << 2 << 1;
    }

    // The exporter draws every pixel as the reference picture has it.
    void poses()
    {
        QFETCH(Pose, pose);
        QFETCH(int, pen);
        QFETCH(int, zoom);
        const QString path = referencePath(QString(QTest::currentDataTag()) + ".png");
        const QImage picture = Exporter().picture(Figure{pose, pen}, kCaption, zoom);
        if (remaking())
            QVERIFY(picture.save(path, "PNG"));
        const QImage reference(path, "PNG");
        QVERIFY2(!reference.isNull(), qPrintable(path));
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), reference.convertToFormat(QImage::Format_RGB32));
    }

    void joints_data() { poses_data(); }

    // Every joint is the very double stored, to the last bit.
    void joints()
    {
        QFETCH(Pose, pose);
        const QByteArray name = QTest::currentDataTag();
        if (remaking())
            QVERIFY(storeJoints(name, jointsText(pose)));
        QCOMPARE(jointsText(pose), storedJoints(name));
    }
};

QTEST_MAIN(TestReferencePictures)
#include "tst_reference_pictures.moc"
