// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "export/animation_target.h"
#include "export/exporter.h"
#include "model/program_info.h"
#include "posefile/animation_file.h"
#include "render/draw_scene.h"
#include "render/joints.h"
#include "ui/figure_commands.h"
#include "ui/figures_list.h"
#include "ui/timeline_commands.h"

#include <QClipboard>
#include <QTemporaryDir>

using namespace zelbrook;

namespace {

// The cast as "name@hipX" in drawing order, the current figure starred.
QString castOf(const Form1 &window)
{
    AnimationDocument &document = const_cast<Form1 &>(window).document();
    QStringList figures;
    for (const SceneFigure &figure : document.scene())
        figures << QString::fromStdString(figure.name) + '@' + QString::number(figure.figure.pose.hipX)
                       + (figure.id == document.currentFigure() ? "*" : "");
    return figures.join(' ');
}

bool holdsColour(const QImage &picture, Color colour)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if ((rgb.pixel(x, y) & 0xFFFFFFu) == colour)
                return true;
    return false;
}

} // namespace

class TestFigures : public QObject
{
    Q_OBJECT

private slots:
    // Each command is one step; undoing them all gives back the one figure.
    void commandsAreStepsThatUndo_data()
    {
        QTest::addColumn<QString>("keys"); // a: add, d: duplicate, x: delete, f: forward, b: backward, p: previous
        QTest::addColumn<QString>("cast");
        QTest::newRow("add") << "a"
                             << "Figure 1@227.792 Figure 2@327.792*";
        QTest::newRow("add wraps round") << "a a a"
                                         << "Figure 1@227.792 Figure 2@327.792 Figure 3@427.792 Figure 4@27.7917*";
        QTest::newRow("duplicate") << "d"
                                   << "Figure 1@227.792 Figure 2@257.792*";
        QTest::newRow("delete") << "a x"
                                << "Figure 1@227.792*";
        QTest::newRow("the only figure stays") << "x"
                                               << "Figure 1@227.792*";
        QTest::newRow("send backward") << "a b"
                                       << "Figure 2@327.792* Figure 1@227.792";
        QTest::newRow("previous figure, brought forward") << "a p f"
                                                          << "Figure 2@327.792 Figure 1@227.792*";
    }

    void commandsAreStepsThatUndo()
    {
        QFETCH(QString, keys);
        ActiveWindow w;
        const QString start = castOf(*w.window);
        const std::map<QString, QKeySequence> sequences{{"a", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
                                                        {"d", QKeySequence(Qt::CTRL | Qt::Key_D)},
                                                        {"x", QKeySequence(Qt::Key_Delete)},
                                                        {"f", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
                                                        {"b", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
                                                        {"p", QKeySequence(Qt::CTRL | Qt::Key_PageUp)}};
        for (const QString &key : keys.split(' '))
            QTest::keySequence(w.canvas(), sequences.at(key));
        QTEST(castOf(*w.window), "cast");
        QCOMPARE(w.window->timeline().isShown(), keys.contains('a'));
        while (w.window->document().undo()) {
        }
        QCOMPARE(castOf(*w.window), start);
    }

    // A press on a joint of another figure makes it current and drags it; a
    // click on its line only makes it current.
    void choosingAFigureOnTheCanvas()
    {
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
        QCOMPARE(w.window->document().currentFigure(), 1);
        const Pose second = w.window->document().scene().back().figure.pose;
        const Joints joints = ComputeJoints(second);
        const Point hand = joints.rHand,
                    kneeToFoot{(joints.lKnee.x + joints.lFoot.x) / 2, (joints.lKnee.y + joints.lFoot.y) / 2};
        QTest::mouseClick(w.window->Picture1(), Qt::LeftButton, {}, w.onCanvas(kneeToFoot.x, kneeToFoot.y));
        QCOMPARE(w.window->document().currentFigure(), 2);
        QCOMPARE(w.window->pose(), second);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
        QTest::mousePress(w.window->Picture1(), Qt::LeftButton, {}, w.onCanvas(hand.x, hand.y));
        QTest::mouseMove(w.window->Picture1(), w.onCanvas(hand.x + 20, hand.y + 20));
        QTest::mouseRelease(w.window->Picture1(), Qt::LeftButton, {}, w.onCanvas(hand.x + 20, hand.y + 20));
        QCOMPARE(w.window->document().currentFigure(), 2);
        QVERIFY(w.window->pose().rArmAngle2 != second.rArmAngle2);
        QCOMPARE(w.slider("rarmAngle2Scroll")->Value(),
                 sliderPositionOf(poseField(FieldId::RArmAngle2), w.window->document().figure()));
    }

    // The colour reaches the canvas and every picture; the rings that mark
    // the current figure, and the marks of its pins, reach the canvas only.
    void colourOnEveryPictureRingsAndPinsOnTheScreenOnly()
    {
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
        QVERIFY(w.window->document().pin(Limb::RHand));
        w.window->figures().setColourPicker([](Color) { return Color(0xC03020); });
        w.window->figures().chooseColour();
        QVERIFY(holdsColour(w.picture(), 0xC03020));
        QVERIFY(holdsColour(w.picture(), kCurrentFigureRingColor));
        QVERIFY(holdsColour(w.picture(), kPinMarkColor));
        w.window->Command1_Click();
        const QImage copied = QApplication::clipboard()->image();
        QVERIFY(holdsColour(copied, 0xC03020));
        QVERIFY(!holdsColour(copied, kCurrentFigureRingColor));
        QVERIFY(!holdsColour(copied, kPinMarkColor));
        QCOMPARE(
            copied.convertToFormat(QImage::Format_RGB32),
            Exporter().picture(w.window->document().scene(), kProgramCaption).convertToFormat(QImage::Format_RGB32));
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QVERIFY(!holdsColour(w.picture(), 0xC03020));
    }

    // The list renames a figure as one step; a name the cast has is refused.
    void renamingInTheList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cast");
        QTest::newRow("a new name") << "Thrower"
                                    << "Figure 1@227.792 Thrower@327.792*";
        QTest::newRow("a name taken") << "Figure 1"
                                      << "Figure 1@227.792 Figure 2@327.792*";
    }

    void renamingInTheList()
    {
        QFETCH(QString, name);
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
        QAbstractItemModel *list = w.window->figures().list()->model();
        list->setData(list->index(1, 0), name);
        QTEST(castOf(*w.window), "cast");
        QCOMPARE(list->index(1, 0).data().toString(), QString::fromStdString(w.window->document().scene().back().name));
    }

    // Two figures posed on three keys as a user would, saved, opened again
    // and exported: the GIF is the one the saved file renders to.
    void aSceneFromTheWindowToAGif()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("fight.zba"), gif = dir.filePath("fight.gif");
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
        w.window->figures().setColourPicker([](Color) { return Color(0xC03020); });
        w.window->figures().chooseColour();
        for (const int step : {0, 1, 2}) {
            if (step > 0)
                w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
            QVERIFY(w.slider("larmAngle1Scroll")->setValue(static_cast<std::int16_t>(40 * step)));
            w.keys(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
            QVERIFY(w.slider("BodyangleScroll")->setValue(static_cast<std::int16_t>(15 * step)));
            w.keys(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
        }
        const Animation made = w.window->document().animation();
        w.answers = {saved, saved, gif};
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        QVERIFY(w.window->document().animation().cast() == made.cast());
        QVERIFY(w.window->document().animation().keys() == made.keys());
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        QCOMPARE(w.messages, QStringList{"Saved as: " + gif});

        const auto reread = readAnimationFile(test::fileBytes(saved).toStdString(), Pose{});
        QVERIFY(reread);
        const QString rendered = dir.filePath("rendered.gif");
        QVERIFY(AnimationTarget{}.write(reread.value(), rendered.toStdString()));
        QCOMPARE(test::fileBytes(gif), test::fileBytes(rendered));
        QVERIFY(holdsColour(QImage(gif), 0xC03020));
    }
};

QTEST_MAIN(TestFigures)
#include "tst_figures.moc"
