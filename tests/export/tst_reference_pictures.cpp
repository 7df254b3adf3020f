// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exporter.h"
#include "platform/picture_writer.h"
#include "render/joints.h"

#include "test_support.h"
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>

using namespace zelbrook;

namespace {

// A caption of its own, so that a new version number leaves the pictures as
// they are.
constexpr std::string_view kCaption = "Zelbrook v0.1 by Quillfen";

// The stored reference file. With ZELBROOK_REMAKE_REFERENCE=1 it is first
// written with what the program gives now, for a change that is meant.
QByteArray reference(const QString &name, const QByteArray &current)
{
    const QString path = QDir(ZELBROOK_REFERENCE_DIR).filePath(name);
    if (qEnvironmentVariableIntValue("ZELBROOK_REMAKE_REFERENCE") == 1) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(current) != current.size())
            return "<not remade>";
    }
    return test::fileBytes(path);
}

// The joints as hex floats, x and y of a joint on each line, in their order.
QByteArray jointsText(const Pose &pose)
{
    const Joints j = ComputeJoints(pose);
    QByteArray text;
    for (const Point &point :
         {j.neck, j.headCentre, j.lKnee, j.lFoot, j.rKnee, j.rFoot, j.shoulder, j.lElbow, j.lHand, j.rElbow, j.rHand}) {
        char line[64];
        text += QByteArray(line, std::snprintf(line, sizeof line, "%a %a\n", point.x, point.y));
    }
    return text;
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
        const QImage picture =
            Exporter().picture(Figure{pose, pen}, kCaption, zoom).convertToFormat(QImage::Format_RGB32);
        const QByteArray stored =
            reference(QTest::currentDataTag() + QString(".png"), PictureWriter().encode(picture, "png"));
        QCOMPARE(QImage::fromData(stored, "PNG").convertToFormat(QImage::Format_RGB32), picture);
    }

    void joints_data() { poses_data(); }

    // Every joint is the very double stored, to the last bit.
    void joints()
    {
        QFETCH(Pose, pose);
        QCOMPARE(jointsText(pose), reference(QTest::currentDataTag() + QString(".joints"), jointsText(pose)));
    }
};

QTEST_MAIN(TestReferencePictures)
#include "tst_reference_pictures.moc"
