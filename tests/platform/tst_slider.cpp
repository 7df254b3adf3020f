#include "platform/slider.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>
#include <QVBoxLayout>

#include <limits>

using namespace zelbrook;

namespace {

constexpr SliderRange kAngle{-180, 180};

// The centre of the thumb, in the slider's own coordinates.
QPoint thumbCentre(const Slider &slider)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.upsideDown = slider.invertedAppearance();
    return slider.style()
        ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &slider)
        .center();
}

} // namespace

class TestSlider : public QObject
{
    Q_OBJECT

private slots:
    void startsInItsRange();
    void setValue_data();
    void setValue();
    void changedComesInsideSetValue();
    void keys_data();
    void keys();
    void tabReachesIt();
    void drag_data();
    void drag();
    void mouseDrag();
};

void TestSlider::startsInItsRange()
{
    const Slider slider({0, 360}, 360);
    QCOMPARE(slider.Value(), std::int16_t(360));
    QCOMPARE(slider.range().minimum, std::int16_t(0));
    QCOMPARE(slider.range().maximum, std::int16_t(360));
    QCOMPARE(slider.orientation(), Qt::Horizontal);
    QCOMPARE(slider.focusPolicy(), Qt::StrongFocus);
}

void TestSlider::setValue_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("changes");

    QTest::newRow("inside") << 0 << 120 << true << 120 << 1;
    QTest::newRow("minimum") << 0 << -180 << true << -180 << 1;
    QTest::newRow("maximum") << 0 << 180 << true << 180 << 1;
    QTest::newRow("the value it holds") << 45 << 45 << true << 45 << 0;
    QTest::newRow("one below") << 10 << -181 << false << 10 << 0;
    QTest::newRow("one above") << 10 << 181 << false << 10 << 0;
    QTest::newRow("int16 lowest") << 10 << int(std::numeric_limits<std::int16_t>::min()) << false << 10 << 0;
    QTest::newRow("int16 highest") << 10 << int(std::numeric_limits<std::int16_t>::max()) << false << 10 << 0;
}

void TestSlider::setValue()
{
    QFETCH(int, start);
    QFETCH(int, value);
    QFETCH(bool, accepted);
    QFETCH(int, expected);
    QFETCH(int, changes);

    Slider slider(kAngle, static_cast<std::int16_t>(start));
    QSignalSpy changed(&slider, &Slider::changed);
    QSignalSpy scrolled(&slider, &Slider::scrolled);
    QCOMPARE(slider.setValue(static_cast<std::int16_t>(value)), accepted);
    QCOMPARE(slider.Value(), expected);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(scrolled.count(), 0);
}

void TestSlider::changedComesInsideSetValue()
{
    Slider slider(kAngle, 0);
    QList<int> seen;
    connect(&slider, &Slider::changed, this, [&] { seen << slider.Value(); });
    QVERIFY(slider.setValue(-90));
    QCOMPARE(seen, QList<int>({-90}));
    QVERIFY(slider.setValue(30));
    QCOMPARE(seen, QList<int>({-90, 30}));
}

void TestSlider::keys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("changes");

    // Arrow step 5 and page step 20 tell the two steps apart.
    QTest::newRow("Right raises") << 0 << int(Qt::Key_Right) << 5 << 1;
    QTest::newRow("Up raises") << 0 << int(Qt::Key_Up) << 5 << 1;
    QTest::newRow("Left lowers") << 0 << int(Qt::Key_Left) << -5 << 1;
    QTest::newRow("Down lowers") << 0 << int(Qt::Key_Down) << -5 << 1;
    QTest::newRow("PageUp raises a page") << 0 << int(Qt::Key_PageUp) << 20 << 1;
    QTest::newRow("PageDown lowers a page") << 0 << int(Qt::Key_PageDown) << -20 << 1;
    QTest::newRow("Home goes to the minimum") << 7 << int(Qt::Key_Home) << -180 << 1;
    QTest::newRow("End goes to the maximum") << 7 << int(Qt::Key_End) << 180 << 1;
    QTest::newRow("Right stops at the maximum") << 178 << int(Qt::Key_Right) << 180 << 1;
    QTest::newRow("Right at the maximum") << 180 << int(Qt::Key_Right) << 180 << 0;
    QTest::newRow("Left at the minimum") << -180 << int(Qt::Key_Left) << -180 << 0;
}

void TestSlider::keys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    QFETCH(int, changes);

    Slider slider(kAngle, static_cast<std::int16_t>(start));
    slider.setSteps(5, 20);
    QSignalSpy changed(&slider, &Slider::changed);
    QSignalSpy scrolled(&slider, &Slider::scrolled);
    QTest::keyClick(&slider, static_cast<Qt::Key>(key));
    QCOMPARE(slider.Value(), expected);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(scrolled.count(), 0);
}

void TestSlider::tabReachesIt()
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *slider = new Slider(kAngle, 0, &window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(slider);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(slider->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(slider->Value(), std::int16_t(1));
}

void TestSlider::drag_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<QList<int>>("scrolledAt");
    QTest::addColumn<int>("changes");

    QTest::newRow("to a new place") << 0 << QList<int>{3, 9, 12} << QList<int>{3, 9, 12} << 1;
    QTest::newRow("back to the start") << 0 << QList<int>{3, 9, 0} << QList<int>{3, 9, 0} << 0;
    QTest::newRow("no step") << 5 << QList<int>{} << QList<int>{} << 0;
    QTest::newRow("a step to where it is") << 5 << QList<int>{5, 6, 6} << QList<int>{6} << 1;
    QTest::newRow("past the end") << 170 << QList<int>{200} << QList<int>{180} << 1;
}

// The same calls that QScrollBar makes while the user drags its thumb.
void TestSlider::drag()
{
    QFETCH(int, start);
    QFETCH(QList<int>, steps);
    QFETCH(QList<int>, scrolledAt);
    QFETCH(int, changes);

    Slider slider(kAngle, static_cast<std::int16_t>(start));
    QList<int> seen;
    connect(&slider, &Slider::scrolled, this, [&] { seen << slider.Value(); });
    QSignalSpy changed(&slider, &Slider::changed);
    slider.setSliderDown(true);
    for (int step : steps)
        slider.setSliderPosition(step);
    QCOMPARE(changed.count(), 0);
    slider.setSliderDown(false);
    QCOMPARE(seen, scrolledAt);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(int(slider.Value()), scrolledAt.isEmpty() ? start : scrolledAt.last());
}

void TestSlider::mouseDrag()
{
    Slider slider({0, 360}, 0);
    slider.resize(260, 17);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy changed(&slider, &Slider::changed);
    QSignalSpy scrolled(&slider, &Slider::scrolled);
    const QPoint from = thumbCentre(slider);
    QTest::mousePress(&slider, Qt::LeftButton, {}, from);
    for (int dx = 10; dx <= 60; dx += 10)
        QTest::mouseMove(&slider, from + QPoint(dx, 0));
    QVERIFY(scrolled.count() >= 2);
    QCOMPARE(changed.count(), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, from + QPoint(60, 0));
    QCOMPARE(changed.count(), 1);
    QVERIFY(slider.Value() > 0);
}

QTEST_MAIN(TestSlider)
#include "tst_slider.moc"
