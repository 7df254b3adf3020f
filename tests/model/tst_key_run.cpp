// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_document.h"

#include <QTest>

using namespace zelbrook;

namespace {

// The holds in order, "!" after a key whose in-betweens (ten times its
// hold) or ease (smooth for an even hold) did not travel with it, and the
// current key.
QString stateOf(const PoseDocument &document)
{
    QString holds;
    for (const Key &key : document.animation().keys())
        holds += QString::number(key.hold)
                 + (key.tweens == 10 * key.hold && (key.ease == Ease::Smooth) == (key.hold % 2 == 0) ? "" : "!");
    return holds + QStringLiteral(" at %1").arg(document.currentKey());
}

// "1 Ann #ff0000, 2 Bob #0000ff" for a cast, then each key's figures as
// their ids and hip x, "1@1+2@2".
QString castOf(const Animation &animation)
{
    QStringList cast, keys;
    for (const CastFigure &f : animation.cast())
        cast << QStringLiteral("%1 %2 %3").arg(f.id).arg(f.name.c_str(), colorText(f.color).c_str());
    for (const Key &key : animation.keys()) {
        QStringList ids;
        for (const KeyFigure &figure : key.figures)
            ids << QStringLiteral("%1@%2").arg(figure.id).arg(figure.figure.pose.hipX);
        keys << ids.join('+');
    }
    return cast.join(", ") + " / " + keys.join(' ');
}

// The cast of castOf() in one key, each figure's hip x its id.
Animation animationOf(const QString &cast)
{
    std::vector<CastFigure> figures;
    std::vector<KeyFigure> held;
    for (const QString &entry : cast.split(", ")) {
        const QStringList parts = entry.split(' ');
        figures.push_back({parts[0].toInt(), parts[1].toStdString(), *colorFromText(parts[2].toStdString())});
        held.push_back({parts[0].toInt(), Figure{Pose{parts[0].toFloat()}}});
    }
    return Animation(Playback{}, figures, {Key(held)});
}

} // namespace

class TestKeyRun : public QObject
{
    Q_OBJECT

private slots:
    // Four keys with holds 1 to 4, key 3 current.
    void commandsOnRunsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("after"); // empty when refused

        QTest::newRow("paste") << "paste" << 0 << 1 << "123124 at 4";
        QTest::newRow("paste reversed") << "reversed" << 0 << 2 << "1233214 at 5";
        QTest::newRow("cut from the middle") << "cut" << 1 << 2 << "14 at 1";
        QTest::newRow("cut the end") << "cut" << 2 << 3 << "12 at 1";
        QTest::newRow("cut every key") << "cut" << 0 << 3 << "";
        QTest::newRow("duplicate") << "duplicate" << 0 << 1 << "121234 at 3";
        QTest::newRow("reverse") << "reverse" << 1 << 3 << "1432 at 2";
        QTest::newRow("a run past the last key") << "reverse" << 2 << 4 << "";
    }

    void commandsOnRunsUndoAndRedo()
    {
        QFETCH(QString, command);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, after);
        std::vector<Key> keys;
        for (int hold = 1; hold <= 4; ++hold)
            keys.emplace_back(Figure{}, hold, 10 * hold, hold % 2 ? Ease::Linear : Ease::Smooth);
        PoseDocument document;
        document.replaceAnimation(Animation(Playback{}, keys));
        document.setCurrentKey(2);
        const KeyRun run{std::size_t(first), std::size_t(last)};
        const Animation copied = last < 4 ? keyRunAnimation(document.animation(), run) : Animation();
        const auto order = command == "paste" ? KeyOrder::AsTheyCame : KeyOrder::Reversed;
        const Status done = command.startsWith("p") || command == "reversed"
                                ? document.pasteKeys(copied, FigureMatch::ById, order)
                            : command == "cut"       ? document.cutKeys(run)
                            : command == "duplicate" ? document.duplicateKeys(run)
                                                     : document.reverseKeys(run);
        QCOMPARE(bool(done), !after.isEmpty());
        QCOMPARE(stateOf(document), after.isEmpty() ? "1234 at 2" : after);
        QCOMPARE(document.undo(), !after.isEmpty());
        QCOMPARE(stateOf(document), "1234 at 2");
        document.redo();
        QCOMPARE(stateOf(document), after.isEmpty() ? "1234 at 2" : after);
    }

    // Ann and Bob, ids 1 and 2, take keys pasted after their one key; a
    // pasted figure keeps its pose, its hip x being its id in the source.
    void pastedFiguresFindTheirOwn_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("byId");
        QTest::addColumn<QString>("after"); // the cast, then the keys' figures

        QTest::newRow("by name, a stranger joins")
            << "1 Bob #00ff00, 7 Cy #123456" << false << "1 Ann #ff0000, 2 Bob #0000ff, 3 Cy #123456 / 1@1+2@2 2@1+3@7";
        QTest::newRow("by id") << "1 Bob #00ff00, 7 Cy #123456" << true
                               << "1 Ann #ff0000, 2 Bob #0000ff, 3 Cy #123456 / 1@1+2@2 1@1+3@7";
        QTest::newRow("an id gone, its name kept")
            << "5 Bob #00ff00" << true << "1 Ann #ff0000, 2 Bob #0000ff / 1@1+2@2 2@5";
        QTest::newRow("a name matched by id already")
            << "1 Bob #00ff00, 9 Ann #00ff00" << true
            << "1 Ann #ff0000, 2 Bob #0000ff, 3 Ann 2 #00ff00 / 1@1+2@2 1@1+3@9";
        QTest::newRow("drawn in the target's order")
            << "4 Bob #000000, 3 Ann #000000" << false << "1 Ann #ff0000, 2 Bob #0000ff / 1@1+2@2 1@3+2@4";
    }

    void pastedFiguresFindTheirOwn()
    {
        QFETCH(QString, source);
        QFETCH(bool, byId);
        QFETCH(QString, after);
        PoseDocument document;
        document.replaceAnimation(animationOf("1 Ann #ff0000, 2 Bob #0000ff"));
        const auto match = byId ? FigureMatch::ById : FigureMatch::ByName;
        QVERIFY(document.pasteKeys(animationOf(source), match, KeyOrder::AsTheyCame));
        QCOMPARE(castOf(document.animation()), after);
        document.undo();
        QCOMPARE(castOf(document.animation()), "1 Ann #ff0000, 2 Bob #0000ff / 1@1+2@2");
    }
};

QTEST_GUILESS_MAIN(TestKeyRun)
#include "tst_key_run.moc"
