// SPDX-License-Identifier: GPL-3.0-or-later
#include "timing_keys.h"

#include "ui/workspace/document_signals.h"
#include "ui/workspace/timeline_view.h"

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace zelbrook;

namespace {

// A view of its animation with no frame or scroll bar to count, shown.
struct ShownView {
    explicit ShownView(const Animation &animation, QSize size = {400, 120})
    {
        document.replaceAnimation(animation);
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(size);
        view.show();
    }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, at);
    }

    AnimationDocument document;
    DocumentSignals changes{document};
    TimelineView view{changes};
};

// The part of a widget painted, all paint events together.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted |= static_cast<QPaintEvent *>(event)->rect();
        return false;
    }
    QRect painted;
};

using ViewStep = std::function<void(ShownView &)>;

} // namespace

class TestTimelineView : public QObject
{
    Q_OBJECT

private slots:
    // Three keys of two frames at 12 pixels a frame, the middle one current,
    // in a view 400 by 120: key k's block from x = 4 + 24 k, 24 wide, its
    // lane from y = 22 to the foot less 2; the playhead on frame 0.
    void aChangeRepaintsWhatItMoved_data()
    {
        QTest::addColumn<ViewStep>("step");
        QTest::addColumn<QRect>("painted");

        QTest::newRow("a key's pose") << ViewStep([](ShownView &v) { v.document.setPosition(FieldId::BodyAngle, 40); })
                                      << QRect(28, 22, 24, 96);
        QTest::newRow("another key") << ViewStep([](ShownView &v) { v.document.setCurrentKey(2); })
                                     << QRect(28, 22, 48, 96);
        QTest::newRow("a run from the first")
            << ViewStep([](ShownView &v) { v.view.selectFrom(0); }) << QRect(4, 22, 48, 96);
        QTest::newRow("a figure joins") << ViewStep([](ShownView &v) { (void)v.document.addFigure(Figure{}); })
                                        << QRect(4, 22, 72, 96);
        QTest::newRow("sides apart") << ViewStep([](ShownView &v) { v.view.setSides(true); }) << QRect(4, 22, 72, 96);
        QTest::newRow("a key's timing") << ViewStep([](ShownView &v) {
            (void)v.document.setKeyTiming(3, 0, Ease::Linear);
        }) << QRect(0, 0, 400, 120);
        QTest::newRow("no loop") << ViewStep([](ShownView &v) {
            (void)v.document.setPlayback({12, false});
        }) << QRect(0, 0, 400, 120);
        QTest::newRow("a key added") << ViewStep([](ShownView &v) { (void)v.document.addKey(); })
                                     << QRect(0, 0, 400, 120);
        QTest::newRow("a pose undone") << ViewStep([](ShownView &v) {
            v.document.setPosition(FieldId::BodyAngle, 40);
            QCoreApplication::processEvents();
            v.document.undo();
        }) << QRect(28, 22, 24, 96);
        QTest::newRow("playhead to frame 3")
            << ViewStep([](ShownView &v) { v.view.setPlayhead(3); }) << QRect(4, 0, 48, 120);
        QTest::newRow("playhead where it is") << ViewStep([](ShownView &v) { v.view.setPlayhead(0); }) << QRect();
    }

    void aChangeRepaintsWhatItMoved()
    {
        QFETCH(ViewStep, step);
        QFETCH(QRect, painted);
        ShownView shown(keysOf({{2, 0}, {2, 0}, {2, 0}}));
        shown.document.setCurrentKey(1);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.view));
        QCoreApplication::processEvents();
        const PaintLog log(shown.view.viewport());
        step(shown);
        QCoreApplication::processEvents();
        QCOMPARE(log.painted, painted);
    }

    // One key of 200 frames; a click at x on the ruler, or right of the
    // blocks, chooses frame (x + scroll - 4) / width, within the frames.
    void aClickChoosesTheFrameUnderIt_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("frame");

        QTest::newRow("first frame") << 12 << 0 << QPoint(5, 8) << 0;
        QTest::newRow("left of the first") << 12 << 0 << QPoint(1, 8) << 0;
        QTest::newRow("12 px") << 12 << 0 << QPoint(100, 8) << 8;
        QTest::newRow("12 px, scrolled") << 12 << 240 << QPoint(100, 8) << 28;
        QTest::newRow("2 px, scrolled") << 2 << 3 << QPoint(31, 8) << 15;
        QTest::newRow("64 px, scrolled") << 64 << 1000 << QPoint(200, 8) << 18;
        QTest::newRow("right of the blocks") << 2 << 8 << QPoint(399, 60) << 199;
    }

    void aClickChoosesTheFrameUnderIt()
    {
        QFETCH(int, width);
        QFETCH(int, scroll);
        QFETCH(QPoint, at);
        QFETCH(int, frame);
        ShownView shown(keysOf({{200, 0}}));
        shown.view.setPixelsPerFrame(width);
        shown.view.horizontalScrollBar()->setValue(scroll);
        QCOMPARE(shown.view.horizontalScrollBar()->value(), scroll);
        QSignalSpy chosen(&shown.view, &TimelineView::frameChosen);
        shown.click(at);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen[0][0].value<std::size_t>(), std::size_t(frame));
        QCOMPARE(shown.view.playhead(), std::size_t(frame));
    }

    // Ctrl and the wheel at x = 100 on 200 frames of 12 pixels scrolled 240
    // pixels along, with frame 28 under the pointer; it stays there.
    void ctrlWheelZoomsAboutThePointer_data()
    {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("width");

        QTest::newRow("wider") << 1 << 15;
        QTest::newRow("three wider") << 3 << 23;
        QTest::newRow("narrower") << -1 << 10;
        QTest::newRow("five narrower") << -5 << 4;
    }

    void ctrlWheelZoomsAboutThePointer()
    {
        QFETCH(int, notches);
        QFETCH(int, width);
        ShownView shown(keysOf({{200, 0}}));
        shown.view.horizontalScrollBar()->setValue(240);
        const QPoint at(100, 8);
        QWheelEvent wheel(at, shown.view.viewport()->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(shown.view.viewport(), &wheel);
        QCOMPARE(shown.view.pixelsPerFrame(), width);
        QSignalSpy chosen(&shown.view, &TimelineView::frameChosen);
        shown.click(at);
        QCOMPARE(chosen.value(0).value(0).value<std::size_t>(), std::size_t(28));
    }

    // Ten frames; the keys pressed from a frame, and the frames chosen.
    void keysStepFrames_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("pressed");
        QTest::addColumn<QList<int>>("chosen");

        QTest::newRow("Right") << 0 << QList<int>{Qt::Key_Right} << QList<int>{1};
        QTest::newRow("Left") << 5 << QList<int>{Qt::Key_Left} << QList<int>{4};
        QTest::newRow("Left at the first") << 0 << QList<int>{Qt::Key_Left} << QList<int>{0};
        QTest::newRow("Right to the last and on") << 8 << QList<int>{Qt::Key_Right, Qt::Key_Right} << QList<int>{9, 9};
        QTest::newRow("Home") << 5 << QList<int>{Qt::Key_Home} << QList<int>{0};
        QTest::newRow("End, Left") << 2 << QList<int>{Qt::Key_End, Qt::Key_Left} << QList<int>{9, 8};
    }

    void keysStepFrames()
    {
        QFETCH(int, from);
        QFETCH(QList<int>, pressed);
        QFETCH(QList<int>, chosen);
        ShownView shown(keysOf({{4, 2}, {3, 1}}));
        shown.view.setPlayhead(std::size_t(from));
        QSignalSpy told(&shown.view, &TimelineView::frameChosen);
        for (const int key : pressed)
            QTest::keyClick(&shown.view, Qt::Key(key));
        QList<int> frames;
        for (const QList<QVariant> &frame : told)
            frames << int(frame[0].value<std::size_t>());
        QCOMPARE(frames, chosen);
    }

    // Keys of 3+2, 2+0 and 4+1 frames at 12 pixels a frame: their ends at
    // x = 40 and 64, 88, and 136 and 148.
    void draggingABlockEnd_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("hold");
        QTest::addColumn<int>("tweens");
        QTest::addColumn<int>("shownWidth");

        QTest::newRow("a hold longer") << true << QPoint(40, 50) << 64 << 0 << 5 << 2 << 84;
        QTest::newRow("in-betweens shorter") << true << QPoint(63, 50) << 40 << 0 << 3 << 0 << 36;
        QTest::newRow("a hold never under 1") << true << QPoint(41, 50) << 0 << 0 << 1 << 2 << 36;
        QTest::newRow("upper half where both end") << true << QPoint(88, 40) << 124 << 1 << 5 << 0 << 60;
        QTest::newRow("lower half where both end") << true << QPoint(88, 100) << 124 << 1 << 2 << 3 << 60;
        QTest::newRow("to the nearest frame") << true << QPoint(136, 50) << 153 << 2 << 5 << 1 << 72;
        QTest::newRow("last key, no loop") << false << QPoint(136, 100) << 148 << 2 << 5 << 1 << 60;
    }

    void draggingABlockEnd()
    {
        QFETCH(bool, loop);
        QFETCH(QPoint, from);
        QFETCH(int, to);
        QFETCH(int, key);
        QFETCH(int, hold);
        QFETCH(int, tweens);
        QFETCH(int, shownWidth);
        const Animation before = keysOf({{3, 2}, {2, 0}, {4, 1}}, loop);
        ShownView shown(before);
        QWidget *viewport = shown.view.viewport();
        QTest::mouseMove(viewport, from);
        QCOMPARE(viewport->cursor().shape(), Qt::SizeHorCursor);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, QPoint(to, from.y()));
        QCOMPARE(shown.view.blockRect(std::size_t(key)).width(), shownWidth);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(to, from.y()));
        const Key &dragged = shown.document.animation().key(std::size_t(key));
        QCOMPARE(shown.document.currentKey(), std::size_t(key));
        QCOMPARE(std::pair(dragged.hold, dragged.tweens), std::pair(hold, tweens));
        QVERIFY(shown.document.undo());
        QCOMPARE(shown.document.animation().keys(), before.keys());
        QVERIFY(!shown.document.canUndo());
    }

    // The hold of the first of keys of 3+2 and 2+0 frames dragged from x =
    // 40 to 64, then given up: the block is back to 60 pixels, and no step.
    void aDragGivenUp_data()
    {
        QTest::addColumn<ViewStep>("giveUp");
        QTest::addColumn<int>("keys");

        QTest::newRow("Escape") << ViewStep([](ShownView &v) { QTest::keyClick(&v.view, Qt::Key_Escape); }) << 2;
        QTest::newRow("a key added") << ViewStep([](ShownView &v) { (void)v.document.addKey(); }) << 3;
        QTest::newRow("no loop") << ViewStep([](ShownView &v) { (void)v.document.setPlayback({12, false}); }) << 2;
        QTest::newRow("new animation") << ViewStep([](ShownView &v) {
            v.document.replaceAnimation(keysOf({{3, 2}, {2, 0}}));
        }) << 2;
    }

    void aDragGivenUp()
    {
        QFETCH(ViewStep, giveUp);
        QFETCH(int, keys);
        ShownView shown(keysOf({{3, 2}, {2, 0}}));
        shown.document.clearHistory();
        QWidget *viewport = shown.view.viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, {40, 50});
        QTest::mouseMove(viewport, {64, 50});
        QCOMPARE(shown.view.blockRect(0).width(), 84);
        giveUp(shown);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, {64, 50});
        QCOMPARE(shown.view.blockRect(0).width(), 60);
        QCOMPARE(shown.document.animation().keyCount(), std::size_t(keys));
        QCOMPARE(shown.document.animation().key(0).hold, 3);
    }

    // Five keys of two frames, 24 pixels each; a press at x = 16 + 24 k
    // is on key k.
    void choosingARunOfKeys_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        QTest::newRow("click") << QStringList{"1"} << 1 << 1;
        QTest::newRow("Shift+click later") << QStringList{"1", "+3"} << 1 << 3;
        QTest::newRow("Shift+click earlier") << QStringList{"3", "+0"} << 0 << 3;
        QTest::newRow("a click forgets the run") << QStringList{"1", "+3", "2"} << 2 << 2;
        QTest::newRow("Shift+Alt+Right twice") << QStringList{"1", ">", ">"} << 1 << 3;
        QTest::newRow("Shift+Alt+Left at the first") << QStringList{"0", "<"} << 0 << 0;
        QTest::newRow("Shift+Alt+Left back") << QStringList{"1", ">", ">", "<"} << 1 << 2;
        QTest::newRow("Shift+Alt+Left, then click") << QStringList{"3", "<", "<", "+4"} << 3 << 4;
    }

    void choosingARunOfKeys()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, first);
        QFETCH(int, last);
        ShownView shown(keysOf({{2, 0}, {2, 0}, {2, 0}, {2, 0}, {2, 0}}));
        const QSignalSpy changed(&shown.view, &TimelineView::selectionChanged);
        for (const QString &step : steps) {
            const Qt::KeyboardModifiers extending = Qt::ShiftModifier | Qt::AltModifier;
            if (step == "<" || step == ">")
                QTest::keyClick(&shown.view, step == "<" ? Qt::Key_Left : Qt::Key_Right, extending);
            else
                shown.click({16 + 24 * QString(step).remove('+').toInt(), 60},
                            step.startsWith('+') ? Qt::ShiftModifier : Qt::NoModifier);
        }
        const KeyRun run{std::size_t(first), std::size_t(last)};
        QCOMPARE(shown.view.selection(), run);
        QCOMPARE(changed.isEmpty(), run == KeyRun{});
    }

    // A thousand keys of four frames; the view draws the pictures of the
    // nine keys it shows in 400 pixels, as tall as it lets them be over the
    // 10-pixel band of each key's timing.
    void picturesFitThePanel_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QSize>("picture");

        QTest::newRow("low panel") << 60 << QSize(60, 48);
        QTest::newRow("taller") << 128 << QSize(112, 90);
        QTest::newRow("tall") << 200 << QSize(201, 162);
    }

    void picturesFitThePanel()
    {
        QFETCH(int, height);
        QFETCH(QSize, picture);
        ShownView shown(keysOf(std::vector<std::pair<int, int>>(1000, {4, 0})), {400, height});
        shown.view.grab();
        QCOMPARE(shown.view.pictureSize(), picture);
        QCOMPARE(shown.view.picturesDrawn(), 9);
    }
};

QTEST_MAIN(TestTimelineView)
#include "tst_timeline_view.moc"
