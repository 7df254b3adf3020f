// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_document.h"

#include "test_support.h"

#include <QTest>

using namespace zelbrook;

namespace {

// Four keys told apart by their holds 1 to 4, each with ten times its hold
// as in-betweens and every other one smooth; key 3 is current.
PoseDocument fourKeys()
{
    std::vector<Key> keys;
    for (int hold = 1; hold <= 4; ++hold)
        keys.emplace_back(Figure{test::startPose()}, hold, 10 * hold, hold % 2 ? Ease::Linear : Ease::Smooth);
    PoseDocument document;
    document.replaceAnimation(Animation(Playback{}, keys));
    document.setCurrentKey(2);
    return document;
}

// The holds in order, "!" after any key whose in-betweens or ease did not
// travel with it, and the current key.
QString stateOf(const PoseDocument &document)
{
    QString holds;
    for (const Key &key : document.animation().keys())
        holds += QString::number(key.hold)
                 + (key.tweens != 10 * key.hold || (key.hold % 2 == 0) != (key.ease == Ease::Smooth) ? "!" : "");
    return holds + QStringLiteral(" at %1").arg(document.currentKey());
}

// "1 Ann #ff0000, 2 Bob #0000ff" for a cast, then each key's figures as
// their ids and hip x, "1@1+2@2".
QString castOf(const Animation &animation)
{
    QStringList cast;
    for (const CastFigure &figure : animation.cast())
        cast << QStringLiteral("%1 %2 %3")
                    .arg(figure.id)
                    .arg(QString::fromStdString(figure.name), QString::fromStdString(colorText(figure.color)));
    QStringList keys;
    for (const Key &key : animation.keys()) {
        QStringList ids;
        for (const KeyFigure &figure : key.figures)
            ids << QStringLiteral("%1@%2").arg(figure.id).arg(figure.figure.pose.hipX);
        keys << ids.join('+');
    }
    return cast.join(", ") + " / " + keys.join(' ');
}

// A cast described as "1 Ann #ff0000, 2 Bob #000000", each figure in one key
// with its id as hip x.
Animation animationOf(const QString &cast)
{
    std::vector<CastFigure> figures;
    std::vector<KeyFigure> held;
    for (const QString &entry : cast.split(", ")) {
        const QStringList parts = entry.split(' ');
        figures.push_back({parts[0].toInt(), parts[1].toStdString(), *colorFromText(parts[2].toStdString())});
        Figure figure{test::startPose()};
        figure.pose.hipX = parts[0].toFloat();
        held.push_back({parts[0].toInt(), figure});
    }
    return Animation(Playback{}, figures, {Key(held)});
}

} // namespace

class TestKeyRun : public QObject
{
    Q_OBJECT

private slots:
    void commandsOnRunsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("after"); // empty when refused

        QTest::newRow("paste after the current key") << "paste" << 0 << 1 << "123124 at 4";
        QTest::newRow("paste reversed") << "reversed" << 0 << 2 << "1233214 at 5";
        QTest::newRow("paste one key") << "paste" << 3 << 3 << "12344 at 3";
        QTest::newRow("cut from the middle") << "cut" << 1 << 2 << "14 at 1";
        QTest::newRow("cut the end") << "cut" << 2 << 3 << "12 at 1";
        QTest::newRow("cut every key is refused") << "cut" << 0 << 3 << "";
        QTest::newRow("duplicate") << "duplicate" << 0 << 1 << "121234 at 3";
        QTest::newRow("duplicate the end") << "duplicate" << 3 << 3 << "12344 at 4";
        QTest::newRow("reverse") << "reverse" << 1 << 3 << "1432 at 2";
        QTest::newRow("reverse every key") << "reverse" << 0 << 3 << "4321 at 2";
        QTest::newRow("a run past the last key is refused") << "reverse" << 2 << 4 << "";
    }

    void commandsOnRunsUndoAndRedo()
    {
        QFETCH(QString, command);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, after);
        PoseDocument document = fourKeys();
        const KeyRun run{std::size_t(first), std::size_t(last)};
        const Animation copied = run.last < 4 ? keyRunAnimation(document.animation(), run) : Animation();
        const Status done = command == "paste" ? document.pasteKeys(copied, FigureMatch::ById, KeyOrder::AsTheyCame)
                            : command == "reversed"  ? document.pasteKeys(copied, FigureMatch::ById, KeyOrder::Reversed)
                            : command == "cut"       ? document.cutKeys(run)
                            : command == "duplicate" ? document.duplicateKeys(run)
                                                     : document.reverseKeys(run);
        QCOMPARE(bool(done), !after.isEmpty());
        QCOMPARE(stateOf(document), after.isEmpty() ? "1234 at 2" : after);
        QCOMPARE(document.canUndo(), !after.isEmpty());
        document.undo();
        QCOMPARE(stateOf(document), "1234 at 2");
        document.redo();
        QCOMPARE(stateOf(document), after.isEmpty() ? "1234 at 2" : after);
    }

    // A pasted figure keeps its pose: its hip x is its id in the source.
    void pastedFiguresFindTheirOwn_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("byId");
        QTest::addColumn<QString>("after"); // the cast, then the keys' figures

        const QString annBob = "1 Ann #ff0000, 2 Bob #0000ff";
        QTest::newRow("by name, a stranger joins") << annBob << "1 Bob #00ff00, 7 Cy #123456" << false
                                                   << "1 Ann #ff0000, 2 Bob #0000ff, 3 Cy #123456 / 1@1+2@2 2@1+3@7";
        QTest::newRow("by id, a stranger joins") << annBob << "1 Bob #00ff00, 7 Cy #123456" << true
                                                 << "1 Ann #ff0000, 2 Bob #0000ff, 3 Cy #123456 / 1@1+2@2 1@1+3@7";
        QTest::newRow("an id gone, its name kept")
            << annBob << "5 Bob #00ff00" << true << "1 Ann #ff0000, 2 Bob #0000ff / 1@1+2@2 2@5";
        QTest::newRow("a name matched by id already")
            << annBob << "1 Bob #00ff00, 9 Ann #00ff00" << true
            << "1 Ann #ff0000, 2 Bob #0000ff, 3 Ann 2 #00ff00 / 1@1+2@2 1@1+3@9";
        QTest::newRow("drawn in the target's order")
            << annBob << "4 Bob #000000, 3 Ann #000000" << false << "1 Ann #ff0000, 2 Bob #0000ff / 1@1+2@2 1@3+2@4";
    }

    void pastedFiguresFindTheirOwn()
    {
        QFETCH(QString, target);
        QFETCH(QString, source);
        QFETCH(bool, byId);
        QFETCH(QString, after);
        PoseDocument document;
        document.replaceAnimation(animationOf(target));
        QVERIFY(document.pasteKeys(animationOf(source), byId ? FigureMatch::ById : FigureMatch::ByName,
                                   KeyOrder::AsTheyCame));
        QCOMPARE(castOf(document.animation()), after);
        document.undo();
        QCOMPARE(castOf(document.animation()), castOf(animationOf(target)));
    }
};

QTEST_GUILESS_MAIN(TestKeyRun)
#include "tst_key_run.moc"
