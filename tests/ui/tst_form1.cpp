// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "model/pose_field.h"
#include "ui/control_table.h"
#include "ui/slider_binding.h"

#include <QSignalSpy>
#include <QTest>

#include <map>

using namespace zelbrook;

namespace {

const char *const kSyncedSliders[] = {"BodyLengthScroll", "BodyangleScroll",  "leglength1Scroll", "leglength2Scroll",
                                      "armlength1Scroll", "armlength2Scroll", "llegAngle1Scroll", "llegAngle2Scroll",
                                      "rlegAngle1Scroll", "rlegAngle2Scroll", "larmAngle1Scroll", "larmAngle2Scroll",
                                      "rarmAngle1Scroll", "rarmAngle2Scroll", "headradScroll",    "HeadwidthScroll"};
const char *const kSyncedDisplays[] = {
    "bodylengthDisplay", "bodyangleDisplay",  "leglength1Display", "leglength2Display",
    "armlength1Display", "armlength2Display", "llegangle1Display", "llegangle2display",
    "rlegangle1Display", "rlegangle2Display", "larmAngle1Display", "larmAngle2Display",
    "rarmAngle1Display", "rarmAngle2Display", "headradDisplay",    "headwidthDisplay"};

const PoseField &fieldNamed(const QString &name)
{
    for (const PoseField &field : poseFields()) {
        if (QLatin1String(field.name.data(), qsizetype(field.name.size())) == name)
            return field;
    }
    qFatal("no field %s", qPrintable(name));
}

// The read-out box that stands beside a slider in the control table.
std::string readOutOf(const QString &slider)
{
    std::optional<FieldId> field;
    for (const ControlRow &row : controlTable()) {
        if (row.kind == ControlKind::Slider && QLatin1String(row.name.data(), qsizetype(row.name.size())) == slider)
            field = row.field;
    }
    for (const ControlRow &row : controlTable()) {
        if (row.kind == ControlKind::ReadOut && row.field == field)
            return std::string(row.name);
    }
    return {};
}

void setField(Pose &pose, const QString &field, double value)
{
    if (field == "headRadius")
        pose.headRadius = static_cast<std::int16_t>(value);
    else if (field == "headWidth")
        pose.headWidth = value;
    else if (field == "bodyAngle")
        pose.bodyAngle = value;
    else
        QFAIL("no such field in this test");
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        Form1Fixture f;
        const int positions[] = {35, 0, 28, 23, 20, 20, 266, 2, 295, -20, 130, 94, 130, 30, 10, 70};
        const char *texts[] = {"35",  "0",   "28",  "23", "20",  "20", "266", "2",
                               "295", "-20", "130", "94", "130", "30", "10",  "0.7"};
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(f.slider(kSyncedSliders[i])->Value(), positions[i]);
            QCOMPARE(f.text(kSyncedDisplays[i]), QString::fromLatin1(texts[i]));
        }
        for (const char *untouched : {"ResizeDisplay", "RotateDisplay", "LinewidthDisplay"})
            QVERIFY(f.text(untouched).isEmpty());
        QCOMPARE(f.slider("ResizeScroll")->Value(), 10);
        QCOMPARE(f.slider("RotateScroll")->Value(), 0);
        QCOMPARE(f.slider("LineWidthScroll")->Value(), 2);
        // Every binding wrote back exactly the default it came from.
        QCOMPARE(f.window->pose(), Pose::defaults(test::kCanvasWidth));
        QCOMPARE(f.window->pose().hipX, 227.79167f);
        QVERIFY(!f.window->Picture1()->canvas().AutoRedraw());
        // The figure is in the picture before any focus event arrives.
        QVERIFY(f.picture().pixel(224, 190) != qRgb(255, 255, 255)
                || f.picture().pixel(225, 190) != qRgb(255, 255, 255));
    }

    void bindings_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("field"); // empty: the pen width
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("readOut");

        QTest::newRow("body straight down, clockwise")
            << "BodyangleScroll" << 180 << "bodyAngle" << -90 / 57.3 << "180";
        QTest::newRow("body straight down, anticlockwise")
            << "BodyangleScroll" << -180 << "bodyAngle" << 270 / 57.3 << "-180";
        QTest::newRow("mirrored right arm") << "rarmAngle1Scroll" << 100 << "rArmAngle1" << -100 / 57.3 << "100";
        QTest::newRow("full turn") << "llegAngle1Scroll" << 360 << "lLegAngle1" << 360 / 57.3 << "360";
        QTest::newRow("length") << "BodyLengthScroll" << 100 << "bodyLength" << 100.0 << "100";
        QTest::newRow("arm length shows the stored value") << "armlength1Scroll" << 5 << "armLength1" << 5.0 << "5";
        QTest::newRow("round head") << "HeadwidthScroll" << 100 << "headWidth" << 1.0 << "1";
        QTest::newRow("wide head") << "HeadwidthScroll" << 150 << "headWidth" << 1.5 << "1.5";
        QTest::newRow("narrow head") << "HeadwidthScroll" << 25 << "headWidth" << 0.25 << "0.25";
        QTest::newRow("half size") << "ResizeScroll" << 5 << "scale" << 0.5 << "0.5";
        QTest::newRow("triple size") << "ResizeScroll" << 30 << "scale" << 3.0 << "3";
        QTest::newRow("rotation") << "RotateScroll" << -45 << "rotation" << -45 / 57.3 << "-45";
        QTest::newRow("thick pen") << "LineWidthScroll" << 7 << "" << 7.0 << "7";
    }

    void bindings()
    {
        QFETCH(QString, slider);
        QFETCH(int, position);
        QFETCH(QString, field);
        QFETCH(double, stored);
        QFETCH(QString, readOut);
        Form1Fixture f;
        const Pose before = f.window->pose();
        const QImage pictureBefore = f.picture().copy();
        Slider *s = f.window->slider(slider.toStdString());
        QSignalSpy changes(s, &Slider::changed);
        QVERIFY(s->setValue(static_cast<std::int16_t>(position)));
        QCOMPARE(changes.count(), 1);

        QCOMPARE(f.window->display(readOutOf(slider))->text(), readOut);
        if (field.isEmpty()) {
            QCOMPARE(f.window->Picture1()->canvas().DrawWidth(), position);
            QCOMPARE(f.window->pose(), before);
        } else {
            QCOMPARE(fieldNamed(field).value(Figure{f.window->pose()}), stored);
        }
        QVERIFY(f.picture() != pictureBefore);
    }

    void scaleOfOneShowsOne()
    {
        Form1Fixture f;
        QVERIFY(f.slider("ResizeScroll")->setValue(11));
        QVERIFY(f.slider("ResizeScroll")->setValue(10));
        QCOMPARE(f.text("ResizeDisplay"), QStringLiteral("1"));
        QCOMPARE(f.window->pose().scale, 1.0);
    }

    void aFieldFromAFileKeepsItsValueUntilItsSliderFires()
    {
        Form1Fixture f;
        Figure figure = f.window->document().figure();
        figure.pose.lLegAngle1 = 1.0;
        f.window->document().setFigure(figure, ChangeKind::Restore);
        QCOMPARE(f.slider("llegAngle1Scroll")->Value(), 57);
        QCOMPARE(f.window->pose().lLegAngle1, 1.0);
        QVERIFY(f.slider("llegAngle1Scroll")->setValue(58));
        QCOMPARE(f.window->pose().lLegAngle1, 58 / 57.3);
    }

    void sync_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("sliderBefore"); // where HeadwidthScroll or BodyangleScroll stood
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("after");
        QTest::addColumn<QString>("readOut");

        QTest::newRow("0.705 with the slider at 70 keeps its value")
            << "headWidth" << 0.705 << 70 << 70 << 0.705 << "0.705";
        QTest::newRow("0.705 moves the slider to the even 70") << "headWidth" << 0.705 << 80 << 70 << 0.7 << "0.7";
        QTest::newRow("0.715 rounds to the even 72") << "headWidth" << 0.715 << 70 << 72 << 0.72 << "0.72";
        QTest::newRow("one radian of body angle") << "bodyAngle" << 1.0 << 0 << 33 << 57 / 57.3 << "33";
    }

    void sync()
    {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(int, sliderBefore);
        QFETCH(int, position);
        QFETCH(double, after);
        QFETCH(QString, readOut);
        Form1Fixture f;
        const std::string name = field == "headWidth" ? "HeadwidthScroll" : "BodyangleScroll";
        const std::string box = field == "headWidth" ? "headwidthDisplay" : "bodyangleDisplay";
        QVERIFY(f.window->slider(name)->setValue(static_cast<std::int16_t>(sliderBefore)));
        Pose loaded = f.window->pose();
        setField(loaded, field, value);
        f.window->takeLoadedPose(loaded);
        QCOMPARE(f.window->slider(name)->Value(), position);
        QCOMPARE(fieldNamed(field).value(Figure{f.window->pose()}), after);
        QCOMPARE(f.window->display(box)->text(), readOut);
    }

    void syncStopsAtASliderThatCannotHoldItsValue()
    {
        Form1Fixture f;
        Figure figure = f.window->document().figure();
        figure.pose.bodyLength = 50;
        figure.pose.headRadius = 101;
        figure.pose.headWidth = 1.2;
        f.window->document().setFigure(figure, ChangeKind::Restore);
        QVERIFY(!f.window->SyncControls());
        const Pose &pose = f.window->pose();
        // The steps before the head radius took effect...
        QCOMPARE(f.slider("BodyLengthScroll")->Value(), 50);
        QCOMPARE(f.text("bodylengthDisplay"), QStringLiteral("50"));
        // ...and the failing step and the one after it did not.
        QCOMPARE(f.slider("headradScroll")->Value(), 10);
        QCOMPARE(f.slider("HeadwidthScroll")->Value(), 70);
        QCOMPARE(f.text("headwidthDisplay"), QStringLiteral("0.7"));
        QCOMPARE(pose.headRadius, 101);
        QCOMPARE(pose.headWidth, 1.2);
    }

    // Every control of the table is on the window under its name, and every
    // field with a slider has exactly one slider, one read-out box and a
    // binding whose start its slider can hold.
    void everyRowAndBindingResolves()
    {
        Form1Fixture f;
        std::map<FieldId, int> sliders, readOuts;
        for (const ControlRow &row : controlTable()) {
            const QString name = QString::fromLatin1(row.name.data(), qsizetype(row.name.size()));
            QVERIFY2(f.window->findChild<QWidget *>(name), qPrintable(name));
            const bool bound = row.kind == ControlKind::Slider || row.kind == ControlKind::ReadOut;
            QCOMPARE(row.field.has_value(), bound);
            if (bound)
                ++(row.kind == ControlKind::Slider ? sliders : readOuts)[*row.field];
        }
        for (const PoseField &field : poseFields()) {
            if (!field.hasSlider())
                continue;
            QCOMPARE(sliders[field.id], 1);
            QCOMPARE(readOuts[field.id], 1);
            QCOMPARE(sliderBinding(field.id).field, field.id);
            QVERIFY(field.range->contains(sliderBinding(field.id).start));
        }
        QCOMPARE(sliders.size(), std::size_t(19));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
