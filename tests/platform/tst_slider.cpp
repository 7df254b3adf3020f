// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/slider.h"

#include <QLineEdit>
#include <QTest>

#include <functional>

using namespace zelbrook;

using Action = std::function<void(Slider &)>;

namespace {

Action set(int value, bool accepted)
{
    return [=](Slider &s) { QCOMPARE(s.setValue(std::int16_t(value)), accepted); };
}

Action press(Qt::Key key)
{
    return [=](Slider &s) { QTest::keyClick(&s, key); };
}

// The same calls that QScrollBar makes while the user drags its thumb.
Action drag(const QList<int> &steps)
{
    return [=](Slider &slider) {
        slider.setSliderDown(true);
        for (int step : steps)
            slider.setSliderPosition(step);
        slider.setSliderDown(false);
    };
}

} // namespace

class TestSlider : public QObject
{
    Q_OBJECT

private slots:
    void notifications_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("events");

        QTest::newRow("set the minimum") << 0 << set(-180, true) << -180 << QStringList{"changed -180"};
        QTest::newRow("set the value it holds") << 45 << set(45, true) << 45 << QStringList{};
        QTest::newRow("set one below") << 10 << set(-181, false) << 10 << QStringList{};
        QTest::newRow("set one above") << 10 << set(181, false) << 10 << QStringList{};
        QTest::newRow("Right raises") << 0 << press(Qt::Key_Right) << 1 << QStringList{"changed 1"};
        QTest::newRow("Left lowers") << 0 << press(Qt::Key_Left) << -1 << QStringList{"changed -1"};
        QTest::newRow("Right at the maximum") << 180 << press(Qt::Key_Right) << 180 << QStringList{};
        QTest::newRow("drag to a new place")
            << 0 << drag({3, 9, 12}) << 12 << QStringList{"scrolled 3", "scrolled 9", "scrolled 12", "changed 12"};
        QTest::newRow("drag back to the start") << 0 << drag({3, 0}) << 0 << QStringList{"scrolled 3", "scrolled 0"};
    }

    // Every signal comes inside the call that caused it, with the new value
    // already in place.
    void notifications()
    {
        QFETCH(int, start);
        QFETCH(Action, action);

        Slider slider({-180, 180}, static_cast<std::int16_t>(start));
        QStringList events;
        connect(&slider, &Slider::changed, this, [&] { events << QString("changed %1").arg(slider.Value()); });
        connect(&slider, &Slider::scrolled, this, [&] { events << QString("scrolled %1").arg(slider.Value()); });
        action(slider);
        QTEST(int(slider.Value()), "value");
        QTEST(events, "events");
    }

    void tabReachesIt()
    {
        QWidget window;
        auto *edit = new QLineEdit(&window);
        auto *slider = new Slider({-180, 180}, 0, &window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(slider->hasFocus());
    }
};

QTEST_MAIN(TestSlider)
#include "tst_slider.moc"
