// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include "posefile/animation_file.h"
#include "test_support.h"
#include "ui/timeline_cells.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

using namespace zelbrook;

namespace {

// The body slider of each key, "10 60 120", and the current key.
QString keysOf(Form1 &window)
{
    QStringList angles;
    for (const Key &key : window.document().animation().keys())
        angles << QString::number(std::lround(90 - key.figures.front().figure.pose.bodyAngle * 57.3));
    return angles.join(' ') + QStringLiteral(" at %1").arg(window.document().currentKey());
}

TimelineCells *focusedRow(ActiveWindow &w)
{
    w.window->timeline().setShown(true);
    TimelineCells *cells = w.window->timeline().strip()->cells();
    cells->setFocus();
    return cells;
}

// Names of the cast in drawing order, "Ann Bob".
QString castOf(Form1 &window)
{
    QStringList names;
    for (const CastFigure &figure : window.document().animation().cast())
        names << QStringLiteral("%1:%2").arg(figure.id).arg(QString::fromStdString(figure.name));
    return names.join(' ');
}

Animation castOf(const QStringList &names)
{
    std::vector<CastFigure> cast;
    std::vector<KeyFigure> figures;
    for (const QString &name : names) {
        cast.push_back({int(cast.size()) + 1, name.toStdString(), kBlack});
        figures.push_back({int(cast.size()), Figure{test::startPose()}});
    }
    return Animation(Playback{}, cast, {Key(figures)});
}

} // namespace

class TestKeyClipboard : public QObject
{
    Q_OBJECT

private slots:
    // Three keys with the body at 10, 60 and 120, the middle one current;
    // the keys are pressed in the focused row, then one undo.
    void rowCommandsAreOneStepEach_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("selected");

        QTest::newRow("copy and paste") << "Shift+Right,Ctrl+C,Ctrl+V"
                                        << "10 60 120 60 120 at 4"
                                        << "3-4";
        QTest::newRow("cut") << "Shift+Left,Ctrl+X"
                             << "120 at 0"
                             << "0-0";
        QTest::newRow("paste reversed") << "Home,Shift+End,Ctrl+C,Ctrl+Shift+V"
                                        << "10 60 120 120 60 10 at 5"
                                        << "3-5";
        QTest::newRow("duplicate") << "Shift+Right,Ctrl+Shift+D"
                                   << "10 60 120 60 120 at 4"
                                   << "3-4";
        QTest::newRow("reverse") << "Shift+End,Reverse"
                                 << "10 120 60 at 2"
                                 << "1-2";
        QTest::newRow("cut every key is refused") << "Home,Shift+End,Ctrl+X"
                                                  << "10 60 120 at 2"
                                                  << "0-2";
        QTest::newRow("a plain arrow ends the run") << "Shift+Right,Left"
                                                    << "10 60 120 at 1"
                                                    << "1-1";
    }

    void rowCommandsAreOneStepEach()
    {
        QFETCH(QString, pressed);
        QFETCH(QString, after);
        QFETCH(QString, selected);
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = focusedRow(w);
        const QString before = keysOf(*w.window);
        const std::uint64_t revision = w.window->document().revision();
        for (const QString &key : pressed.split(',')) {
            if (key == "Reverse")
                cells->findChild<QMenu *>()->actions().last()->trigger();
            else
                QTest::keySequence(cells, QKeySequence(key));
        }
        QCOMPARE(keysOf(*w.window), after);
        QCOMPARE(QStringLiteral("%1-%2").arg(cells->selection().first).arg(cells->selection().last), selected);
        if (pressed.contains("Ctrl+C"))
            QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("application/x-zelbrook-animation"));
        const bool changed = !after.startsWith(before.section(" at", 0, 0) + " at");
        QCOMPARE(w.window->document().revision() != revision, changed);
        if (!changed)
            return;
        QVERIFY(w.messages.isEmpty());
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(keysOf(*w.window).section(" at", 0, 0), before.section(" at", 0, 0));
    }

    // Keys copied in one window and pasted in another find their figures
    // by name; pasted back where they came from, by id, though renamed.
    void pastedKeysBringTheirFigures_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<QString>("cast");

        QTest::newRow("into another animation") << true << "1:Bob 2:Cy 3:Ann";
        QTest::newRow("back where they came from") << false << "1:Al 2:Bob";
    }

    void pastedKeysBringTheirFigures()
    {
        QFETCH(bool, elsewhere);
        QFETCH(QString, cast);
        ActiveWindow from;
        from.window->document().replaceAnimation(castOf({"Ann", "Bob"}));
        QTest::keySequence(focusedRow(from), QKeySequence(Qt::CTRL | Qt::Key_C));
        QVERIFY(from.window->document().renameFigure(1, "Al"));
        ActiveWindow to;
        Form1 &target = elsewhere ? *to.window : *from.window;
        if (elsewhere)
            target.document().replaceAnimation(castOf({"Bob", "Cy"}));
        QTest::keySequence(focusedRow(elsewhere ? to : from), QKeySequence(Qt::CTRL | Qt::Key_V));
        QCOMPARE(castOf(target), cast);
        QCOMPARE(int(target.document().animation().key(1).figures.size()), 2);
    }

    // Text that is no animation changes nothing and is refused with the
    // reader's message; keys are no pose for Paste pose either.
    void textThatIsNoAnimationIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target");

        QTest::newRow("a pose file") << "10135, 35, 1.57, 28, 23, 4.64, 0.03, 5.14, -0.34, 20, 20, 2.26\r\n"
                                     << "row";
        QTest::newRow("words") << "a walk"
                               << "row";
        QTest::newRow("no text") << ""
                                 << "row";
        QTest::newRow("JSON of something else") << "{\"format\": \"zelbrook-animation\", \"version\": 9}"
                                                << "row";
        QTest::newRow("keys pasted as a pose") << "keys"
                                               << "canvas";
    }

    void textThatIsNoAnimationIsRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, target);
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = focusedRow(w);
        if (text == "keys")
            QTest::keySequence(cells, QKeySequence(Qt::CTRL | Qt::Key_C));
        else
            QGuiApplication::clipboard()->setText(text);
        const auto state = w.state();
        const std::uint64_t revision = w.window->document().revision();
        if (target == "canvas")
            w.window->Picture1()->setFocus();
        QTest::keySequence(target == "canvas" ? static_cast<QWidget *>(w.window.get()) : cells, QKeySequence::Paste);
        QCOMPARE(w.window->document().revision(), revision);
        QVERIFY(w.state() == state);
        QCOMPARE(w.messages.size(), 1);
        if (target == "row") {
            const auto read = readAnimationFile(text.toStdString(), Pose{});
            QCOMPARE(w.messages.first(), "Could not paste the keys:\n" + QString::fromStdString(read.error().message));
        } else {
            QCOMPARE(w.messages.first(), "Wrong file type");
        }
    }

    // Ctrl+Shift+W gives the left arm the right arm's positions and back,
    // as one step.
    void swapSidesIsOneStep()
    {
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
        QCOMPARE(w.slider("larmAngle1Scroll")->Value(), 230);
        QCOMPARE(w.slider("rarmAngle1Scroll")->Value(), 230);
        QCOMPARE(w.slider("llegAngle2Scroll")->Value(), -20);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.slider("larmAngle1Scroll")->Value(), 130);
        QVERIFY(!w.window->document().canUndo());
    }
};

QTEST_MAIN(TestKeyClipboard)
#include "tst_key_clipboard.moc"
