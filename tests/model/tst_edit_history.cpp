// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/edit_history.h"
#include "model/pose.h"

#include <QTest>

using namespace zelbrook;

namespace {

// A figure for every number, each field holding a value no slider could
// give, so that only an exact copy compares equal.
Figure numbered(int n)
{
    Figure figure{Pose::defaults(455.58333f)};
    Pose &p = figure.pose;
    p.hipX += static_cast<float>(n) / 3.0f;
    p.hipY += n * 0.7;
    p.bodyAngle += n * 0.0123456789;
    p.lLegAngle1 = 1.0 + n / 7.0;
    p.rArmAngle2 = -0.1 - n / 9.0;
    p.headWidth = 0.51 + n / 1000.3;
    p.scale = 1.05 + n / 333.0;
    p.rotation = n * 1e-7;
    p.bodyLength = 35.25 + n;
    figure.penWidth = 1 + n % 7;
    return figure;
}

// Reads a figure back to its number; -1 when it is none of them.
int numberOf(const Figure &figure)
{
    for (int n = 0; n < 2000; ++n) {
        if (figure == numbered(n))
            return n;
    }
    return -1;
}

void record(EditHistory &history, const Figure &before, const Figure &after,
            EditHistory::GestureKey gesture = EditHistory::kNoGesture)
{
    history.record(FigureStep{0, before, after}, gesture);
}

// The figure an undo puts back, or a redo makes again.
std::optional<Figure> undo(EditHistory &history, bool redo = false)
{
    const DocumentStep *step = redo ? history.redo() : history.undo();
    return step ? std::optional(redo ? std::get<FigureStep>(*step).after : std::get<FigureStep>(*step).before)
                : std::nullopt;
}
std::optional<Figure> redo(EditHistory &history) { return undo(history, true); }

// Plays a script of space-separated steps: rN records a change to figure N,
// gNk records it under gesture k, e ends the gesture, c marks the state
// clean, u undoes, R redoes. The figure starts as number 0 and follows every
// record, undo and redo; the figure at the end is returned.
Figure play(EditHistory &history, const QString &script)
{
    Figure figure = numbered(0);
    for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("u") || step == QLatin1String("R")) {
            const auto restored = step == QLatin1String("u") ? undo(history) : redo(history);
            if (restored)
                figure = *restored;
        } else if (step == QLatin1String("e")) {
            history.endGesture();
        } else if (step == QLatin1String("c")) {
            history.markClean();
        } else {
            const bool gesture = step.startsWith(QLatin1Char('g'));
            const Figure after = numbered(step.mid(1, gesture ? step.size() - 2 : -1).toInt());
            // Two distinct addresses stand for two gestures.
            static const char keys[2] = {};
            record(history, figure, after, gesture ? &keys[step.back() == QLatin1Char('b')] : nullptr);
            figure = after;
        }
    }
    return figure;
}

} // namespace

class TestEditHistory : public QObject
{
    Q_OBJECT

private slots:
    // Scripts as play() reads them.
    void steps_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("undone"); // what undoing everything then gives, in turn
        QTest::addColumn<bool>("redoable");

        QTest::newRow("nothing recorded") << "" << 0 << "" << false;
        QTest::newRow("one change") << "r1" << 1 << "0" << false;
        QTest::newRow("no change adds no step") << "r1 r1" << 1 << "0" << false;
        QTest::newRow("undo puts back the figure before") << "r1 r2 u" << 1 << "0" << true;
        QTest::newRow("undo and redo") << "r1 r2 u u R" << 1 << "0" << true;
        QTest::newRow("redo all") << "r1 r2 u u R R" << 2 << "1 0" << false;
        QTest::newRow("undo with nothing to undo") << "u" << 0 << "" << false;
        QTest::newRow("redo with nothing to redo") << "r1 R" << 1 << "0" << false;
        QTest::newRow("a change after undo drops redo") << "r1 r2 u r3" << 3 << "1 0" << false;
        QTest::newRow("a gesture is one step") << "g1a g2a g3a" << 3 << "0" << false;
        QTest::newRow("an ended gesture") << "g1a e g2a" << 2 << "1 0" << false;
        QTest::newRow("another gesture") << "g1a g2b" << 2 << "1 0" << false;
        QTest::newRow("a change between") << "g1a r2 g3a" << 3 << "2 1 0" << false;
        QTest::newRow("undo ends a gesture") << "g1a g2a u R g3a" << 3 << "2 0" << false;
        QTest::newRow("gesture back to its start") << "r1 g2a g1a" << 1 << "0" << false;
        QTest::newRow("gesture back and on") << "r1 g2a g1a g3a" << 3 << "1 0" << false;
        QTest::newRow("gesture that changes nothing") << "g0a g0a" << 0 << "" << false;
        QTest::newRow("gesture begun after undo drops redo") << "r1 r2 u g5a g1a" << 1 << "0" << false;
    }

    void steps()
    {
        QFETCH(QString, script);
        QFETCH(int, current);
        QFETCH(QString, undone);
        QFETCH(bool, redoable);

        EditHistory history;
        QCOMPARE(numberOf(play(history, script)), current);
        QCOMPARE(history.canRedo(), redoable);

        QStringList trail;
        while (history.canUndo())
            trail << QString::number(numberOf(*undo(history)));
        QCOMPARE(trail.join(QLatin1Char(' ')), undone);
        QVERIFY(!undo(history));
    }

    // Whether the state after a script is the one last marked clean, with a
    // history of the given capacity.
    void cleanState_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<bool>("clean");

        QTest::newRow("a new history") << "" << 1000 << true;
        QTest::newRow("a change") << "r1" << 1000 << false;
        QTest::newRow("marked after a change") << "r1 c" << 1000 << true;
        QTest::newRow("undone back to the start") << "r1 r2 u u" << 1000 << true;
        QTest::newRow("undone back to the mark") << "r1 c r2 u" << 1000 << true;
        QTest::newRow("undone past the mark") << "r1 c u" << 1000 << false;
        QTest::newRow("redone back to the mark") << "r1 r2 c u u R R" << 1000 << true;
        QTest::newRow("a gesture after the mark") << "g1a c g2a" << 1000 << false;
        QTest::newRow("that gesture undone") << "g1a c g2a u" << 1000 << true;
        QTest::newRow("the mark's step dropped for another") << "r1 c u r2 u R" << 1000 << false;
        QTest::newRow("a gesture back to the mark") << "r1 c g2a g1a" << 1000 << true;
        QTest::newRow("the mark's step fell off the front") << "c r1 r2 r3 u u" << 2 << false;
        QTest::newRow("steps fell off, the mark kept") << "r1 r2 c r3 r4 u u" << 2 << true;
    }

    void cleanState()
    {
        QFETCH(QString, script);
        QFETCH(int, capacity);
        QFETCH(bool, clean);

        EditHistory history(static_cast<std::size_t>(capacity));
        play(history, script);
        QCOMPARE(history.isClean(), clean);
    }

    void keepsTheLatestThousandSteps_data()
    {
        QTest::addColumn<int>("recorded");
        QTest::addColumn<int>("undoable");
        QTest::addColumn<int>("oldest"); // what the last possible undo gives

        QTest::newRow("below the limit") << 999 << 999 << 0;
        QTest::newRow("at the limit") << 1000 << 1000 << 0;
        QTest::newRow("one past the limit") << 1001 << 1000 << 1;
        QTest::newRow("far past the limit") << 1500 << 1000 << 500;
    }

    void keepsTheLatestThousandSteps()
    {
        QFETCH(int, recorded);
        QFETCH(int, undoable);
        QFETCH(int, oldest);

        EditHistory history;
        for (int n = 1; n <= recorded; ++n)
            record(history, numbered(n - 1), numbered(n));
        int undone = 0;
        std::optional<Figure> last;
        while (const auto restored = undo(history)) {
            last = restored;
            ++undone;
        }
        QCOMPARE(undone, undoable);
        QCOMPARE(numberOf(*last), oldest);
        // Every step can be redone again, up to the newest figure.
        int redone = 0;
        while (const auto restored = redo(history)) {
            last = restored;
            ++redone;
        }
        QCOMPARE(redone, undoable);
        QCOMPARE(numberOf(*last), recorded);
    }

    void smallerCapacity()
    {
        EditHistory history(2);
        for (int n = 1; n <= 5; ++n)
            record(history, numbered(n - 1), numbered(n));
        QCOMPARE(history.stepCount(), std::size_t(2));
        QCOMPARE(numberOf(*undo(history)), 4);
        QCOMPARE(numberOf(*undo(history)), 3);
        QVERIFY(!history.canUndo());
    }
};

QTEST_APPLESS_MAIN(TestEditHistory)
#include "tst_edit_history.moc"
