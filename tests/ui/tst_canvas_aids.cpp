// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "render/joint_picker.h"
#include "ui/canvas_aids.h"
#include "ui/timeline_cells.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace zelbrook;

namespace {

bool hasColor(const QImage &image, QRgb color)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if ((rgb.pixel(x, y) & 0xFFFFFFu) == color)
                return true;
    return false;
}

QImage rgb(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

const CanvasAids &aidsOf(const ActiveWindow &w) { return *w.window->findChild<CanvasAids *>(); }

Point jointOnCanvas(const Form1 &window, Joint joint)
{
    const Pose &pose = window.pose();
    return jointPoint(joint, pose, ComputeJoints(pose));
}

} // namespace

class TestCanvasAids : public QObject
{
    Q_OBJECT

private slots:
    // The screen shows the path in its green and the left thigh in grey;
    // the copied picture, the bitmap and an exported animation never do,
    // and playing hides the path.
    void onlyTheScreenShowsThem_data()
    {
        QTest::addColumn<bool>("sides");
        QTest::addColumn<bool>("path");
        QTest::newRow("sides") << true << false;
        QTest::newRow("path by its key") << false << true;
        QTest::newRow("both") << true << true;
    }

    void onlyTheScreenShowsThem()
    {
        QFETCH(bool, sides);
        QFETCH(bool, path);
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = w.window->timeline().strip()->cells();
        cells->grab();
        const int drawn = cells->picturesDrawn();
        QVERIFY(!hasColor(w.picture(), kMotionPathColor));
        if (path)
            w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
        w.window->timeline().strip()->findChild<QCheckBox *>(QStringLiteral("Sides"))->setChecked(sides);
        QCOMPARE(hasColor(w.picture(), kMotionPathColor), path);
        const Pose &pose = w.window->pose();
        const Point knee = ComputeJoints(pose).lKnee;
        const QPoint thigh = w.onCanvas((pose.hipX + knee.x) / 2, (pose.hipY + knee.y) / 2)
                             - w.window->Picture1()->contentsRect().topLeft();
        QCOMPARE(w.picture().pixel(thigh) & 0xFFFFFFu, sides ? 0x8C8C8Cu : 0u);
        cells->grab();
        QCOMPARE(cells->picturesDrawn() > drawn, sides);

        const QImage alone = Exporter().picture(w.window->document().scene(), kProgramCaption);
        w.keys(QKeySequence::Copy);
        QCOMPARE(rgb(QGuiApplication::clipboard()->image()), rgb(alone));
        const QTemporaryDir folder;
        w.answers = {folder.filePath(QStringLiteral("aids.bmp")), folder.filePath(QStringLiteral("aids.png"))};
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(rgb(QImage(folder.filePath(QStringLiteral("aids.bmp")))), rgb(alone));
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        const QImage first = Exporter().picture(w.window->document().animation().sceneAt({0, 0, 0}), kProgramCaption);
        QCOMPARE(rgb(QImage(folder.filePath(QStringLiteral("aids.png")))), rgb(first));
        w.window->timeline().play();
        QVERIFY(!hasColor(w.picture(), kMotionPathColor));
    }

    // Ctrl+Shift+M switches the path; with the timeline hidden it shows
    // both.
    void thePathKeyBringsThePath_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("onAfter");
        QTest::newRow("hidden, off") << false << false << true;
        QTest::newRow("hidden, left on") << false << true << true;
        QTest::newRow("shown, off") << true << false << true;
        QTest::newRow("shown, on") << true << true << false;
    }

    void thePathKeyBringsThePath()
    {
        QFETCH(bool, shown);
        QFETCH(bool, on);
        ActiveWindow w;
        w.window->timeline().setShown(shown);
        w.window->timeline().strip()->pathBox()->setChecked(on);
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
        QVERIFY(w.window->timeline().isShown());
        QTEST(w.window->timeline().strip()->pathBox()->isChecked(), "onAfter");
        QTEST(hasColor(w.picture(), kMotionPathColor), "onAfter");
    }

    // The path follows the joint last pressed, the right hand until then;
    // its key dot covers the joint.
    void thePathFollowsThePressedJoint_data()
    {
        QTest::addColumn<int>("pressed"); // -1: none
        QTest::addColumn<int>("followed");
        QTest::newRow("no press") << -1 << int(Joint::RHand);
        QTest::newRow("left foot") << int(Joint::LFoot) << int(Joint::LFoot);
        QTest::newRow("hip") << int(Joint::Hip) << int(Joint::Hip);
    }

    void thePathFollowsThePressedJoint()
    {
        QFETCH(int, pressed);
        QFETCH(int, followed);
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
        if (pressed >= 0) {
            const Point at = jointOnCanvas(*w.window, Joint(pressed));
            const QPoint where = w.onCanvas(at.x, at.y);
            QTest::mousePress(w.window->Picture1(), Qt::LeftButton, {}, where);
            QTest::mouseRelease(w.window->Picture1(), Qt::LeftButton, {}, where);
        }
        QCOMPARE(int(aidsOf(w).pathJoint()), followed);
        const Point joint = jointOnCanvas(*w.window, Joint(followed));
        const QPoint pixel = w.onCanvas(joint.x, joint.y) - w.window->Picture1()->contentsRect().topLeft();
        QCOMPARE(w.picture().pixel(pixel) & 0xFFFFFFu, kMotionPathColor);
    }

    // An edit works the path out once and the key dot moves with the hand;
    // a redraw alone works out nothing.
    void thePathIsWorkedOutOncePerEdit_data()
    {
        QTest::addColumn<int>("edit"); // 0 a slider, 1 the in-betweens, 2 a redraw
        QTest::addColumn<int>("traced");
        QTest::newRow("slider") << 0 << 1;
        QTest::newRow("in-betweens") << 1 << 1;
        QTest::newRow("redraw") << 2 << 0;
    }

    void thePathIsWorkedOutOncePerEdit()
    {
        QFETCH(int, edit);
        ActiveWindow w;
        w.makeThreeKeys();
        w.window->timeline().strip()->pathBox()->setChecked(true);
        const int before = aidsOf(w).pathsTraced();
        if (edit == 0)
            QVERIFY(w.slider("BodyangleScroll")->setValue(75));
        else if (edit == 1)
            w.window->timeline().strip()->findChildren<QSpinBox *>().at(1)->setValue(4);
        else
            w.window->DrawMan();
        QTEST(aidsOf(w).pathsTraced() - before, "traced");
        const ScreenAids aids = aidsOf(w).aids();
        const auto key = std::count_if(aids.path->dots.begin(), aids.path->dots.end(), [](auto &d) { return d.key; });
        QCOMPARE(int(key), 3);
        const auto middle =
            std::find_if(aids.path->dots.begin() + 1, aids.path->dots.end(), [](auto &d) { return d.key; });
        QCOMPARE(middle->at, jointOnCanvas(*w.window, Joint::RHand));
        QCOMPARE(aids.path->dots.size(), std::size_t(edit == 1 ? 7 : 3));
    }
};

QTEST_MAIN(TestCanvasAids)
#include "tst_canvas_aids.moc"
