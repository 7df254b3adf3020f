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

// The holds of the keys, which tell them apart, "123", the current key and
// the run selected in the row.
QString keysOf(Form1 &window)
{
    QString holds;
    for (const Key &key : window.document().animation().keys())
        holds += QString::number(key.hold);
    const KeyRun run = window.timeline().strip()->cells()->selection();
    return holds + QStringLiteral(" at %1, %2-%3").arg(window.document().currentKey()).arg(run.first).arg(run.last);
}

TimelineCells *focusedRow(ActiveWindow &w)
{
    w.window->timeline().setShown(true);
    QApplication::setActiveWindow(w.face());
    [&] { QVERIFY(QTest::qWaitForWindowActive(w.face())); }();
    w.window->timeline().strip()->cells()->setFocus();
    return w.window->timeline().strip()->cells();
}

} // namespace

class TestKeyClipboard : public QObject
{
    Q_OBJECT

private slots:
    // Keys pressed in the focused row of three keys, their holds 1, 2 and
    // 3, the middle one current; then undo.
    void theRowsKeysAreOneStepEach_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("after");

        QTest::newRow("copy, paste") << "Shift+Right,Ctrl+C,Ctrl+V" << true << "12323 at 4, 3-4";
        QTest::newRow("cut") << "Shift+Left,Ctrl+X" << true << "3 at 0, 0-0";
        QTest::newRow("paste reversed") << "Home,Shift+End,Ctrl+C,Ctrl+Shift+V" << true << "123321 at 5, 3-5";
        QTest::newRow("duplicate") << "Shift+Right,Ctrl+Shift+D" << true << "12323 at 4, 3-4";
        QTest::newRow("reverse") << "Shift+End,Reverse" << true << "132 at 2, 1-2";
        QTest::newRow("cut every key") << "Home,Shift+End,Ctrl+X" << false << "123 at 2, 0-2";
    }

    void theRowsKeysAreOneStepEach()
    {
        QFETCH(QString, pressed);
        QFETCH(bool, changes);
        QFETCH(QString, after);
        ActiveWindow w;
        std::vector<Key> keys;
        for (int hold = 1; hold <= 3; ++hold)
            keys.emplace_back(Figure{test::startPose()}, hold);
        w.window->document().replaceAnimation(Animation(Playback{}, keys));
        w.window->document().setCurrentKey(1);
        TimelineCells *cells = focusedRow(w);
        for (const QString &key : pressed.split(','))
            key == "Reverse" ? cells->findChild<QMenu *>()->actions().last()->trigger()
                             : QTest::keySequence(cells, QKeySequence(key));
        QCOMPARE(keysOf(*w.window), after);
        if (pressed.contains("Ctrl+C"))
            QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("application/x-zelbrook-animation"));
        QCOMPARE(w.window->document().canUndo(), changes);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(keysOf(*w.window).section(" at", 0, 0), "123");
    }

    // Keys copied in one window find their figures by name in another;
    // back where they came from, by id, though one was renamed since.
    void pastedKeysBringTheirFigures_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<QString>("cast");

        QTest::newRow("into another animation") << true << "Cy Bob Ann ";
        QTest::newRow("back where they came from") << false << "Al Bob ";
    }

    void pastedKeysBringTheirFigures()
    {
        QFETCH(bool, elsewhere);
        QFETCH(QString, cast);
        ActiveWindow from, to;
        const Figure pose{test::startPose()};
        for (auto [window, name] : {std::pair{&from, "Ann"}, std::pair{&to, "Cy"}})
            window->window->document().replaceAnimation(
                Animation(Playback{}, {{1, name, kBlack}, {2, "Bob", kBlack}}, {Key({{1, pose}, {2, pose}})}));
        QTest::keySequence(focusedRow(from), QKeySequence::Copy);
        QVERIFY(from.window->document().renameFigure(1, "Al"));
        QTest::keySequence(focusedRow(elsewhere ? to : from), QKeySequence::Paste);
        QString names;
        for (const CastFigure &figure : (elsewhere ? to : from).window->document().animation().cast())
            names += QString::fromStdString(figure.name) + ' ';
        QCOMPARE(names, cast);
    }

    // Ctrl+V pastes what the clipboard holds wherever the focus is: keys
    // after the current key, a pose into the current figure. Text that is
    // neither changes nothing and is refused with the reader's message.
    void pasteTakesWhatTheClipboardHolds_data()
    {
        QTest::addColumn<QString>("text"); // "keys": the row's keys, copied
        QTest::addColumn<bool>("onCanvas");
        QTest::addColumn<QString>("message"); // how the message begins; none: pasted

        QTest::newRow("a pose file in the row")
            << "10135, 35, 1.57" << false << "line 1, column 6: syntax error while parsing";
        QTest::newRow("some other JSON in the row") << "{\"keys\": []}" << false << "Wrong file type";
        QTest::newRow("some other JSON on the canvas") << "{\"keys\": []}" << true << "Wrong file type";
        QTest::newRow("a bad pose on the canvas") << "10135,35,abc" << true << "item 3 (bodyAngle)";
        QTest::newRow("keys on the canvas") << "keys" << true << "";
    }

    void pasteTakesWhatTheClipboardHolds()
    {
        QFETCH(QString, text);
        QFETCH(bool, onCanvas);
        QFETCH(QString, message);
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = focusedRow(w);
        text == "keys" ? QTest::keySequence(cells, QKeySequence::Copy) : QGuiApplication::clipboard()->setText(text);
        const auto state = w.state();
        const std::uint64_t revision = w.window->document().revision();
        if (onCanvas)
            w.window->Picture1()->setFocus();
        onCanvas ? w.window->pastePose() : QTest::keySequence(cells, QKeySequence::Paste);
        QCOMPARE(w.window->document().animation().keyCount(), message.isEmpty() ? 4u : 3u);
        QCOMPARE(w.messages.size(), message.isEmpty() ? 0 : 1);
        if (message.isEmpty())
            return;
        QCOMPARE(w.window->document().revision(), revision);
        QVERIFY(w.state() == state);
        QVERIFY2(w.messages.first().startsWith("Could not paste:\n"), qPrintable(w.messages.first()));
        QVERIFY2(w.messages.first().contains(message), qPrintable(w.messages.first()));
    }
};

QTEST_MAIN(TestKeyClipboard)
#include "tst_key_clipboard.moc"
