// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include "posefile/animation_file.h"
#include "test_support.h"
#include "ui/timeline_cells.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>

using namespace zelbrook;

namespace {

// The body slider of each key, "10 60 120", the current key and the run
// selected in the row.
QString keysOf(Form1 &window)
{
    QStringList angles;
    for (const Key &key : window.document().animation().keys())
        angles << QString::number(std::lround(90 - key.figures.front().figure.pose.bodyAngle * 57.3));
    const KeyRun run = window.timeline().strip()->cells()->selection();
    return angles.join(' ')
           + QStringLiteral(" at %1, %2-%3").arg(window.document().currentKey()).arg(run.first).arg(run.last);
}

TimelineCells *focusedRow(ActiveWindow &w)
{
    w.window->timeline().setShown(true);
    QApplication::setActiveWindow(w.window.get());
    [&] { QVERIFY(QTest::qWaitForWindowActive(w.window.get())); }();
    w.window->timeline().strip()->cells()->setFocus();
    return w.window->timeline().strip()->cells();
}

} // namespace

class TestKeyClipboard : public QObject
{
    Q_OBJECT

private slots:
    // Keys pressed in the focused row of three keys, the body at 10, 60 and
    // 120 and the middle one current; then one undo, which takes back the
    // last step before them where they were refused.
    void theRowsKeysAreOneStepEach_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("after");

        QTest::newRow("copy, paste") << "Shift+Right,Ctrl+C,Ctrl+V"
                                     << "10 60 120 60 120 at 4, 3-4";
        QTest::newRow("cut") << "Shift+Left,Ctrl+X"
                             << "120 at 0, 0-0";
        QTest::newRow("paste reversed") << "Home,Shift+End,Ctrl+C,Ctrl+Shift+V"
                                        << "10 60 120 120 60 10 at 5, 3-5";
        QTest::newRow("duplicate") << "Shift+Right,Ctrl+Shift+D"
                                   << "10 60 120 60 120 at 4, 3-4";
        QTest::newRow("reverse") << "Shift+End,Reverse"
                                 << "10 120 60 at 2, 1-2";
        QTest::newRow("cut every key is refused") << "Home,Shift+End,Ctrl+X"
                                                  << "";
    }

    void theRowsKeysAreOneStepEach()
    {
        QFETCH(QString, pressed);
        QFETCH(QString, after);
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = focusedRow(w);
        const std::uint64_t revision = w.window->document().revision();
        for (const QString &key : pressed.split(','))
            key == "Reverse" ? cells->findChild<QMenu *>()->actions().last()->trigger()
                             : QTest::keySequence(cells, QKeySequence(key));
        QCOMPARE(keysOf(*w.window), after.isEmpty() ? "10 60 120 at 2, 0-2" : after);
        if (pressed.contains("Ctrl+C"))
            QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("application/x-zelbrook-animation"));
        QCOMPARE(w.window->document().revision() == revision, after.isEmpty());
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(keysOf(*w.window).section(" at", 0, 0), after.isEmpty() ? "10 60 60" : "10 60 120");
    }

    // Keys copied in one window find their figures by name in another;
    // back where they came from, by id, though one was renamed since.
    void pastedKeysBringTheirFigures_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<QString>("cast");

        QTest::newRow("into another animation") << true << "Bob Cy Ann";
        QTest::newRow("back where they came from") << false << "Al Bob";
    }

    void pastedKeysBringTheirFigures()
    {
        QFETCH(bool, elsewhere);
        QFETCH(QString, cast);
        ActiveWindow from, to;
        ActiveWindow &target = elsewhere ? to : from;
        const auto castOf = [](std::string a, std::string b) {
            return Animation(Playback{}, {{1, a, kBlack}, {2, b, kBlack}},
                             {Key({{1, Figure{test::startPose()}}, {2, Figure{test::startPose()}}})});
        };
        from.window->document().replaceAnimation(castOf("Ann", "Bob"));
        to.window->document().replaceAnimation(castOf("Bob", "Cy"));
        QTest::keySequence(focusedRow(from), QKeySequence::Copy);
        QVERIFY(from.window->document().renameFigure(1, "Al"));
        QTest::keySequence(focusedRow(target), QKeySequence::Paste);
        QStringList names;
        for (const CastFigure &figure : target.window->document().animation().cast())
            names << QString::fromStdString(figure.name);
        QCOMPARE(names.join(' '), cast);
        QCOMPARE(target.window->document().animation().key(1).figures.size(), std::size_t(2));
    }

    // Text that is no animation changes nothing and is refused with the
    // reader's message; keys are no pose for Paste pose on the canvas.
    void textThatIsNoAnimationIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // how the message begins

        QTest::newRow("a pose file") << "10135, 35, 1.57"
                                     << "Could not paste the keys:\nline 1, column 6: syntax error while parsing value";
        QTest::newRow("no text") << ""
                                 << "Could not paste the keys:\nline 1, column 1: syntax error while parsing value";
        QTest::newRow("some other JSON") << "{\"keys\": []}"
                                         << "Could not paste the keys:\nWrong file type";
        QTest::newRow("keys pasted as a pose") << "keys"
                                               << "Wrong file type";
    }

    void textThatIsNoAnimationIsRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = focusedRow(w);
        text == "keys" ? QTest::keySequence(cells, QKeySequence::Copy) : QGuiApplication::clipboard()->setText(text);
        const auto state = w.state();
        const std::uint64_t revision = w.window->document().revision();
        if (text == "keys")
            w.window->Picture1()->setFocus();
        QTest::keySequence(text == "keys" ? static_cast<QWidget *>(w.window.get()) : cells, QKeySequence::Paste);
        QCOMPARE(w.window->document().revision(), revision);
        QVERIFY(w.state() == state);
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages.first().startsWith(message), qPrintable(w.messages.first()));
    }

    // Ctrl+Shift+W gives each arm the other's positions, as one step.
    void swapSidesIsOneStep()
    {
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
        QCOMPARE(w.slider("larmAngle1Scroll")->Value(), 230);
        QCOMPARE(w.slider("llegAngle2Scroll")->Value(), -20);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w.slider("larmAngle1Scroll")->Value(), 130);
        QVERIFY(!w.window->document().canUndo());
    }
};

QTEST_MAIN(TestKeyClipboard)
#include "tst_key_clipboard.moc"
