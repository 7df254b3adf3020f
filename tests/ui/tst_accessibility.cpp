// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "ui/accessible_names.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace zelbrook;

namespace {

// Each slider with its read-out box and the name a listener hears.
struct Named {
    const char *slider;
    const char *display;
    const char *name;
};

constexpr Named kSliders[] = {
    {"BodyangleScroll", "bodyangleDisplay", "Body angle"},
    {"BodyLengthScroll", "bodylengthDisplay", "Body length"},
    {"leglength1Scroll", "leglength1Display", "Legs, thigh length"},
    {"leglength2Scroll", "leglength2Display", "Legs, shin length"},
    {"llegAngle1Scroll", "llegangle1Display", "Left leg, thigh angle"},
    {"llegAngle2Scroll", "llegangle2display", "Left leg, shin angle"},
    {"rlegAngle1Scroll", "rlegangle1Display", "Right leg, thigh angle"},
    {"rlegAngle2Scroll", "rlegangle2Display", "Right leg, shin angle"},
    {"armlength1Scroll", "armlength1Display", "Arms, upper arm length"},
    {"armlength2Scroll", "armlength2Display", "Arms, forearm length"},
    {"larmAngle1Scroll", "larmAngle1Display", "Left arm, upper arm angle"},
    {"larmAngle2Scroll", "larmAngle2Display", "Left arm, forearm angle"},
    {"rarmAngle1Scroll", "rarmAngle1Display", "Right arm, upper arm angle"},
    {"rarmAngle2Scroll", "rarmAngle2Display", "Right arm, forearm angle"},
    {"headradScroll", "headradDisplay", "Head radius"},
    {"HeadwidthScroll", "headwidthDisplay", "Head width"},
    {"ResizeScroll", "ResizeDisplay", "Resize"},
    {"RotateScroll", "RotateDisplay", "Rotate"},
    {"LineWidthScroll", "LinewidthDisplay", "Line width"},
};

QAccessibleInterface *accessible(const Form1Fixture &f, const QString &object)
{
    return QAccessible::queryAccessibleInterface(f.window->findChild<QWidget *>(object));
}

// A window as a screen reader meets it: assistive technology starts after
// the window is built, and the next redraw describes the picture.
QString describedPicture(Form1Fixture &f)
{
    QAccessible::setActive(true);
    f.window->DrawMan();
    return accessible(f, "Picture1")->text(QAccessible::Description);
}

const char *kDefaultDescription = "Body angle 0 degrees; Body length 35; Legs, thigh length 28; Legs, shin length 23; "
                                  "Left leg, thigh angle 266 degrees; Left leg, shin angle 2 degrees; "
                                  "Right leg, thigh angle 295 degrees; Right leg, shin angle -20 degrees; "
                                  "Arms, upper arm length 20; Arms, forearm length 20; "
                                  "Left arm, upper arm angle 130 degrees; Left arm, forearm angle 94 degrees; "
                                  "Right arm, upper arm angle 130 degrees; Right arm, forearm angle 30 degrees; "
                                  "Head radius 10; Head width 0.7; Resize 1; Rotate 0 degrees";

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void namesAndRoles_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::newRow("Picture1") << "Picture1"
                                  << "Stick figure picture" << QAccessible::Graphic;
        for (const Named &n : kSliders) {
            QTest::newRow(n.slider) << n.slider << n.name << QAccessible::ScrollBar;
            QTest::newRow(n.display) << n.display << QString::fromLatin1(n.name) + " value"
                                     << QAccessible::EditableText;
        }
        QTest::newRow("Command1") << "Command1"
                                  << "Copy to Clipboard" << QAccessible::Button;
        QTest::newRow("Command2") << "Command2"
                                  << "Save as .bmp" << QAccessible::Button;
        QTest::newRow("Command3") << "Command3"
                                  << "Save as .zbk" << QAccessible::Button;
        QTest::newRow("Command4") << "Command4"
                                  << "Open .zbk" << QAccessible::Button;
        QTest::newRow("Label1") << "Label1"
                                << "Body angle and length" << QAccessible::StaticText;
        QTest::newRow("Label12") << "Label12"
                                 << "Line width" << QAccessible::StaticText;
    }

    void namesAndRoles()
    {
        QFETCH(QString, object);
        QFETCH(QString, name);
        QFETCH(QAccessible::Role, role);
        Form1Fixture f;
        QAccessibleInterface *iface = accessible(f, object);
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->role(), role);
    }

    // Every control that takes the focus has a name of its own, and every
    // label is read as its text.
    void everyControlNamedOnce()
    {
        Form1Fixture f;
        QSet<QString> names;
        int focusable = 0;
        for (QWidget *widget : f.window->findChildren<QWidget *>()) {
            const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            if (auto *label = qobject_cast<QLabel *>(widget))
                QCOMPARE(name, label->text());
            if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(f.window.get()))
                continue;
            ++focusable;
            QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
            names.insert(name);
        }
        QCOMPARE(focusable, 1 + 19 + 19 + 4);
        QCOMPARE(names.size(), focusable);
    }

    void sliderValueFollowsItsMoves_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("afterLeftKey");
        QTest::newRow("left thigh") << "llegAngle1Scroll" << 300 << 0 << 360 << 299;
        QTest::newRow("body angle at its minimum") << "BodyangleScroll" << -180 << -180 << 180 << -180;
        QTest::newRow("head width") << "HeadwidthScroll" << 150 << 20 << 150 << 149;
        QTest::newRow("line width") << "LineWidthScroll" << 7 << 1 << 7 << 6;
    }

    void sliderValueFollowsItsMoves()
    {
        QFETCH(QString, slider);
        QFETCH(int, position);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, afterLeftKey);
        Form1Fixture f;
        QAccessibleValueInterface *value = accessible(f, slider)->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->minimumValue().toInt(), minimum);
        QCOMPARE(value->maximumValue().toInt(), maximum);
        QVERIFY(f.slider(qPrintable(slider))->setValue(static_cast<std::int16_t>(position)));
        QCOMPARE(value->currentValue().toInt(), position);
        // A key press moves it as the user would.
        f.slider(qPrintable(slider))->setFocus();
        QTest::keyClick(f.slider(qPrintable(slider)), Qt::Key_Left);
        QCOMPARE(value->currentValue().toInt(), afterLeftKey);
    }

    void pictureDescriptionListsThePose()
    {
        Form1Fixture f;
        QCOMPARE(describedPicture(f), QString::fromLatin1(kDefaultDescription));
    }

    void pictureDescriptionFollowsTheFigure_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("said");
        QTest::newRow("left thigh") << "llegAngle1Scroll" << 300 << "Left leg, thigh angle 300 degrees; ";
        QTest::newRow("body leaning") << "BodyangleScroll" << -45 << "Body angle -45 degrees; ";
        QTest::newRow("head width") << "HeadwidthScroll" << 125 << "Head width 1.25; ";
        QTest::newRow("size") << "ResizeScroll" << 15 << "Resize 1.5; ";
        QTest::newRow("rotation") << "RotateScroll" << -90 << "; Rotate -90 degrees";
        QTest::newRow("big head") << "headradScroll" << 95 << "Head radius 95; ";
    }

    void pictureDescriptionFollowsTheFigure()
    {
        QFETCH(QString, slider);
        QFETCH(int, position);
        QFETCH(QString, said);
        Form1Fixture f;
        QVERIFY(!describedPicture(f).contains(said));
        QVERIFY(f.slider(qPrintable(slider))->setValue(static_cast<std::int16_t>(position)));
        QVERIFY2(accessible(f, "Picture1")->text(QAccessible::Description).contains(said), qPrintable(said));
    }

    void descriptionOfAPoseAsItsFileHoldsIt()
    {
        Pose pose = Pose::defaults(test::kCanvasWidth);
        pose.rotation = 0.5;         // 28.65 degrees
        pose.rArmAngle1 = -1.0;      // the mirrored slider: 57.3
        pose.bodyAngle = 3.14159265; // 180.01 degrees, 90.01 from upright
        const QString text = canvasDescription(Figure{pose});
        QVERIFY(text.endsWith("; Rotate 29 degrees"));
        QVERIFY(text.contains("; Right arm, upper arm angle 57 degrees; "));
        QVERIFY(text.startsWith("Body angle -90 degrees; "));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
